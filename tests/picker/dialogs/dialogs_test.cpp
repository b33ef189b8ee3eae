// SPDX-License-Identifier: MIT
// The picker's dialogs on the offscreen platform, driven as a user drives them: keys typed into
// the real widgets, clicks on their buttons, each modal run answered from a timer.
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "fieldvalues/sqltypes.h"
#include "picker/dialogs/aboutbox.h"
#include "picker/dialogs/nodescriptiondialog.h"
#include "picker/dialogs/pickeddataview.h"
#include "picker/dialogs/valueedit.h"
#include "picker/dialogs/valueeditor.h"
#include "tests/support/layoutcheck.h"

namespace {

enum Field
{
    Name,  // required text of at most 10 characters
    Count, // whole number
    Born,  // date
    Notes, // long text
    Flag,  // bit
};

using Fills = std::vector<std::pair<int, bool>>;

// Runs `answer` on the modal dialog of type D once its exec() shows it.
template <class D> void whenShown(std::function<void(D &)> answer)
{
    QTimer::singleShot(0, [answer = std::move(answer)] {
        auto *dialog = qobject_cast<D *>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            ADD_FAILURE() << "no modal dialog of the expected kind is shown";
            if (QWidget *other = QApplication::activeModalWidget())
                other->close();
            return;
        }
        answer(*dialog);
    });
}

template <class W> W *child(QWidget &parent, const char *name)
{
    W *child = parent.findChild<W *>(QString::fromLatin1(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void click(QWidget &dialog, const char *button)
{
    QTest::mouseClick(child<QPushButton>(dialog, button), Qt::LeftButton);
}

// What a double click sends: press, release, double click, release.
void doubleClick(QWidget &widget, const QPoint &pos)
{
    QTest::mouseClick(&widget, Qt::LeftButton, {}, pos);
    QTest::mouseDClick(&widget, Qt::LeftButton, {}, pos);
    QTest::mouseRelease(&widget, Qt::LeftButton, {}, pos);
}

std::string text(const QLabel *label)
{
    return label->text().toStdString();
}

class DialogsTest : public ::testing::Test
{
protected:
    DialogsTest()
    {
        m_description.connectString = "DSN=none";
        m_description.tableName = "people";
        m_description.fieldCount = 5;
        setField(Name, "Name", SqlType::VarChar, 10, 1);
        setField(Count, "Count", SqlType::Integer, 4, 0);
        setField(Born, "Born", SqlType::Date, 10, 0);
        setField(Notes, "Notes", SqlType::LongVarChar, 65536, 0);
        setField(Flag, "Flag", SqlType::Bit, 1, 0);
        setValueWidths(m_description);
        EXPECT_TRUE(m_row.allocate(m_description));
        m_row.reset(m_description);
        m_owner.setGeometry(100, 100, 300, 60);
    }

    void setField(int index, const char *title, int sqlType, int length, int required)
    {
        FieldDescription &field = m_description.fields[static_cast<std::size_t>(index)];
        field.name = title;
        field.title = title;
        field.sqlType = sqlType;
        field.length = length;
        field.required = required;
    }

    // A value as picking leaves it.
    void pick(int field, const std::string &text)
    {
        m_row.storeValue(field, text);
        m_row.hasValue[static_cast<std::size_t>(field)] = 1;
    }

    const std::string &value(int field) const { return m_row.value[std::size_t(field)]; }
    const std::string &previous(int field) const { return m_row.previousValue[std::size_t(field)]; }
    int hasValue(int field) const { return m_row.hasValue[std::size_t(field)]; }

    // Opens the editor on `field` modally; `answer` acts on it while it is shown. Returns what
    // exec() returned.
    int edit(int field, std::function<void(ValueEditor &)> answer)
    {
        ValueEditor editor(&m_owner, m_description, m_row, field,
                           [this](int f, bool filled) { m_fills.emplace_back(f, filled); });
        whenShown<ValueEditor>(std::move(answer));
        const int result = editor.exec();
        m_changed = editor.changed();
        return result;
    }

    // Selects the edit's whole text, as it is at opening, and types over it.
    static void typeOver(ValueEditor &editor, const char *text)
    {
        QLineEdit *edit = child<QLineEdit>(editor, "valueEdit");
        edit->selectAll();
        QTest::keyClicks(edit, QString::fromUtf8(text));
    }

    TableDescription m_description;
    PickedRow m_row;
    QWidget m_owner;
    Fills m_fills;
    bool m_changed = false; // what the last editor said of its "OK"
};

// --- The value editor ---------------------------------------------------------------------

struct OpeningCase
{
    int field;
    const char *picked;
    const char *caption;
    const char *validity;
    const char *required;
    const char *shown; // in the edit, and stored afterwards
};

void PrintTo(const OpeningCase &c, std::ostream *out)
{
    *out << "\"" << c.picked << "\" in field " << c.field;
}

class EditorOpening : public DialogsTest, public ::testing::WithParamInterface<OpeningCase>
{};

TEST_P(EditorOpening, ChecksTheStoredValueAndSaysSo)
{
    const OpeningCase &c = GetParam();
    pick(c.field, c.picked);
    ValueEditor editor(&m_owner, m_description, m_row, c.field, {});
    editor.show();

    EXPECT_EQ(editor.windowTitle().toStdString(), c.caption);
    EXPECT_EQ(text(child<QLabel>(editor, "validityLabel")), c.validity);
    EXPECT_EQ(text(child<QLabel>(editor, "requiredLabel")), c.required);
    QLineEdit *edit = child<QLineEdit>(editor, "valueEdit");
    EXPECT_EQ(edit->text().toStdString(), c.shown);
    EXPECT_EQ(value(c.field), c.shown);
    // The focus is in the edit with all of its text selected, ready to be typed over.
    EXPECT_EQ(editor.focusWidget(), edit);
    EXPECT_EQ(edit->selectedText().toStdString(), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    ValueEditor, EditorOpening,
    ::testing::Values(OpeningCase{Name, "Ann", "Name    (No more than 10 characters)", "Data Valid",
                                  "This field is required, it must be filled up.", "Ann"},
                      // Required whatever the value: an empty one is a valid text all the same.
                      OpeningCase{Name, "", "Name    (No more than 10 characters)", "Data Valid",
                                  "This field is required, it must be filled up.", ""},
                      // The check's normal form replaces the stored value.
                      OpeningCase{Count, "1,234,567", "Count    (No more than 10 digits)",
                                  "Data Valid", "", "1234567"},
                      OpeningCase{Count, "12 apples", "Count    (No more than 10 digits)",
                                  "Data NOT Valid", "", "12 apples"},
                      OpeningCase{Born, "13/45/2020", "Born    (Format: MM/DD/YYYY)",
                                  "Data NOT Valid", "", "13/45/2020"},
                      OpeningCase{Flag, "1", "Flag    (0 or 1)", "Data Valid", "", "1"}));

TEST_F(DialogsTest, EditorOkStoresTheCleanedChangedTextAndMarksTheRowUnsaved)
{
    pick(Name, "Ann");
    EXPECT_EQ(edit(Name,
                   [](ValueEditor &editor) {
                       typeOver(editor, "   Bob    Smith ");
                       click(editor, "okButton");
                   }),
              1);
    EXPECT_TRUE(m_changed);
    EXPECT_EQ(value(Name), "Bob Smith");
    EXPECT_EQ(previous(Name), "Ann");
    EXPECT_EQ(hasValue(Name), 1);
    EXPECT_EQ(m_row.unsaved, 1);
    // The button already showed a value: nothing to tell.
    EXPECT_TRUE(m_fills.empty());
}

TEST_F(DialogsTest, EditorOkOnAnEmptyFieldFillsItsButton)
{
    edit(Count, [](ValueEditor &editor) {
        typeOver(editor, "42");
        QTest::keyClick(child<QLineEdit>(editor, "valueEdit"), Qt::Key_Return);
    });
    EXPECT_EQ(value(Count), "42");
    EXPECT_EQ(hasValue(Count), 1);
    EXPECT_EQ(m_fills, (Fills{{Count, true}}));
    EXPECT_EQ(m_row.unsaved, 1);
}

TEST_F(DialogsTest, EditorOkWithTheSameTextAfterCleaningChangesNothing)
{
    pick(Name, "Old");
    pick(Name, "Ann");
    edit(Name, [](ValueEditor &editor) {
        typeOver(editor, "  Ann   ");
        click(editor, "okButton");
    });
    EXPECT_FALSE(m_changed);
    EXPECT_EQ(value(Name), "Ann");
    EXPECT_EQ(previous(Name), "Old");
    EXPECT_EQ(m_row.unsaved, 0);
    EXPECT_TRUE(m_fills.empty());
}

TEST_F(DialogsTest, EditorOkWithTextThatCleansToNothingEmptiesTheField)
{
    pick(Name, "Ann");
    edit(Name, [](ValueEditor &editor) {
        typeOver(editor, "    ");
        click(editor, "okButton");
    });
    EXPECT_EQ(value(Name), "");
    EXPECT_EQ(previous(Name), "Ann");
    EXPECT_EQ(hasValue(Name), 0);
    EXPECT_EQ(m_fills, (Fills{{Name, false}}));
    EXPECT_EQ(m_row.unsaved, 1);
}

TEST_F(DialogsTest, EditorClearThenCancelLeavesTheValue)
{
    pick(Name, "Ann");
    EXPECT_EQ(edit(Name,
                   [](ValueEditor &editor) {
                       click(editor, "clearButton");
                       // The editor stays open with an empty edit.
                       EXPECT_TRUE(editor.isVisible());
                       EXPECT_EQ(child<QLineEdit>(editor, "valueEdit")->text(), QString());
                       click(editor, "cancelButton");
                   }),
              1);
    EXPECT_EQ(value(Name), "Ann");
    EXPECT_EQ(hasValue(Name), 1);
    EXPECT_EQ(m_row.unsaved, 0);
    EXPECT_TRUE(m_fills.empty());
}

TEST_F(DialogsTest, EditorEscapeChangesNothingAndStillEndsWithOne)
{
    pick(Name, "Ann");
    EXPECT_EQ(edit(Name,
                   [](ValueEditor &editor) {
                       typeOver(editor, "Bob");
                       QTest::keyClick(child<QLineEdit>(editor, "valueEdit"), Qt::Key_Escape);
                   }),
              1);
    EXPECT_EQ(value(Name), "Ann");
    EXPECT_EQ(m_row.unsaved, 0);
}

TEST_F(DialogsTest, EditorRecoverIsOfferedOnceAValueWasReplaced)
{
    pick(Name, "Ann");
    edit(Name, [](ValueEditor &editor) {
        EXPECT_FALSE(child<QPushButton>(editor, "recoverButton")->isEnabled());
        typeOver(editor, "Bob");
        click(editor, "okButton");
    });
    edit(Name, [](ValueEditor &editor) {
        QPushButton *recover = child<QPushButton>(editor, "recoverButton");
        ASSERT_TRUE(recover->isEnabled());
        QTest::mouseClick(recover, Qt::LeftButton);
        EXPECT_TRUE(editor.isVisible());
        EXPECT_EQ(child<QLineEdit>(editor, "valueEdit")->text().toStdString(), "Ann");
        click(editor, "okButton");
    });
    EXPECT_EQ(value(Name), "Ann");
    EXPECT_EQ(previous(Name), "Bob");
}

TEST_F(DialogsTest, EditorKeepsTheLineBreaksOfLongText)
{
    pick(Notes, "first line\nsecond line");
    edit(Notes, [](ValueEditor &editor) { click(editor, "okButton"); });
    EXPECT_EQ(value(Notes), "first line\nsecond line");
    EXPECT_EQ(m_row.unsaved, 0);
}

TEST_F(DialogsTest, EditorWholeNumberKeepsItsNormalFormAfterCancel)
{
    pick(Count, "1,234");
    edit(Count, [](ValueEditor &editor) {
        EXPECT_EQ(child<QLineEdit>(editor, "valueEdit")->text().toStdString(), "1234");
        click(editor, "cancelButton");
    });
    EXPECT_EQ(value(Count), "1234");
    EXPECT_EQ(m_row.unsaved, 0);
}

TEST_F(DialogsTest, EditorPlacedBesideAButtonNearTheRightEdgeEndsThere)
{
    const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
    ValueEditor editor(&m_owner, m_description, m_row, Name, {});
    const QRect window(desktop.right() - 200, desktop.top() + 10, 200, 60);
    const QRect button(window.x() + 140, window.y() + 22, 62, 22);
    editor.placeBesideButton(window, QPoint(window.x() + 4, window.y() + 20), button, 1);
    EXPECT_EQ(editor.frameGeometry().right(), desktop.right());
    EXPECT_EQ(editor.frameGeometry().top(), window.y() + 20);
    EXPECT_EQ(editor.frameGeometry().size(), editor.size());
}

struct TypedCase
{
    int field;
    const char *typed;
    const char *stored;
};

void PrintTo(const TypedCase &c, std::ostream *out)
{
    *out << "\"" << c.typed << "\" in field " << c.field;
}

class TypedValue : public DialogsTest, public ::testing::WithParamInterface<TypedCase>
{};

TEST_P(TypedValue, IsCleanedAsPickedTextIs)
{
    const TypedCase &c = GetParam();
    const FieldDescription &field = m_description.fields[std::size_t(c.field)];
    storeTypedValue(m_row, field, c.field, c.typed, {});
    EXPECT_EQ(value(c.field), c.stored);
}

INSTANTIATE_TEST_SUITE_P(ValueEditor, TypedValue,
                         ::testing::Values(TypedCase{Name, "a\r\nb", "a b"},
                                           TypedCase{Notes, "a\r\nb", "a\r\nb"},
                                           TypedCase{Notes, "  two  words ", "two words"},
                                           // Cut to the width without splitting a character.
                                           TypedCase{Name, "Ärger Ärger", "Ärger Är"},
                                           TypedCase{Name, "123456789€", "123456789"}));

TEST_F(DialogsTest, TypedTextBeyondTheCaptureLengthIsCut)
{
    const FieldDescription &notes = m_description.fields[Notes];
    const std::string text(40000, 'x');
    EXPECT_TRUE(storeTypedValue(m_row, notes, Notes, text, {}));
    EXPECT_EQ(value(Notes).size(),
              std::min<std::size_t>(31999, std::size_t(m_row.valueWidth[Notes])));
}

// --- The picked data view -----------------------------------------------------------------

class PickedDataViewTest : public DialogsTest
{
protected:
    PickedDataViewTest()
    {
        pick(Name, "Ann");
        pick(Count, "1,234");
        pick(Born, "13/45/2020");
    }

    // Opens the view modally; `answer` acts on its list while it is shown.
    std::pair<int, int> view(std::function<void(PickedDataView &, QTreeWidget &)> answer)
    {
        PickedDataView view(&m_owner, m_description, m_row);
        whenShown<PickedDataView>([answer = std::move(answer)](PickedDataView &dialog) {
            answer(dialog, *child<QTreeWidget>(dialog, "pickedList"));
        });
        const int result = view.exec();
        return {result, view.fieldToEdit()};
    }

    static QPoint centreOfRow(QTreeWidget &list, int row)
    {
        return list.visualItemRect(list.topLevelItem(row)).center();
    }
};

TEST_F(PickedDataViewTest, ShowsEveryFieldWithItsValueAndValidity)
{
    PickedDataView view(&m_owner, m_description, m_row);
    view.show();
    EXPECT_EQ(view.windowTitle().toStdString(), "Quilloned");
    EXPECT_EQ(text(child<QLabel>(view, "hintLabel")), "To edit, double click on the item");
    EXPECT_EQ(child<QPushButton>(view, "closeButton")->text().toStdString(), "Close");

    QTreeWidget *list = child<QTreeWidget>(view, "pickedList");
    QTreeWidgetItem *header = list->headerItem();
    EXPECT_EQ(header->text(0).toStdString(), "Field Name");
    EXPECT_EQ(header->text(1).toStdString(), "Picked Data");
    EXPECT_EQ(header->text(2).toStdString(), "Valid");
    EXPECT_EQ(list->columnWidth(0), 80);
    EXPECT_EQ(list->columnWidth(1), list->width() - 134);
    EXPECT_EQ(list->columnWidth(2), 50);

    const std::vector<std::vector<std::string>> expected{
        {"Name", "Ann", "Yes"},
        // The list shows the value as picked; the row keeps the normal form.
        {"Count", "1,234", "Yes"},
        {"Born", "13/45/2020", "No "},
        {"Notes", "", "  "},
        {"Flag", "", "  "},
    };
    ASSERT_EQ(list->topLevelItemCount(), 5);
    for (int i = 0; i < 5; ++i)
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(list->topLevelItem(i)->text(column).toStdString(),
                      expected[std::size_t(i)][std::size_t(column)])
                << "row " << i << ", column " << column;
    EXPECT_EQ(value(Count), "1234");
}

TEST_F(PickedDataViewTest, DoubleClickOnARowEndsTheViewAndNamesItsField)
{
    const auto [result, field] = view([](PickedDataView &, QTreeWidget &list) {
        doubleClick(*list.viewport(), centreOfRow(list, Born));
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(field, Born);
}

TEST_F(PickedDataViewTest, ReturnOnTheSelectedRowActsAsADoubleClick)
{
    const auto [result, field] = view([](PickedDataView &, QTreeWidget &list) {
        QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centreOfRow(list, Count));
        QTest::keyClick(&list, Qt::Key_Return);
    });
    EXPECT_EQ(result, 1);
    EXPECT_EQ(field, Count);
}

TEST_F(PickedDataViewTest, CloseEndsWithOneAndEscapeWithZeroEditingNothing)
{
    EXPECT_EQ(view([](PickedDataView &view, QTreeWidget &) { click(view, "closeButton"); }),
              std::make_pair(1, -1));
    EXPECT_EQ(
        view([](PickedDataView &, QTreeWidget &list) { QTest::keyClick(&list, Qt::Key_Escape); }),
        std::make_pair(0, -1));
    // Return without a selected row presses "Close".
    EXPECT_EQ(
        view([](PickedDataView &, QTreeWidget &list) { QTest::keyClick(&list, Qt::Key_Return); }),
        std::make_pair(1, -1));
}

// --- The About box ------------------------------------------------------------------------

TEST(AboutBox, HelpOpensTheHelpAndEndsWithOne)
{
    int helpShown = 0;
    AboutBox about(nullptr, [&helpShown] { ++helpShown; });
    EXPECT_EQ(about.windowTitle().toStdString(), "About Quillon");
    whenShown<AboutBox>([](AboutBox &box) {
        QPushButton *help = child<QPushButton>(box, "helpButton");
        EXPECT_EQ(help->text().toStdString(), "&Help");
        QTest::mouseClick(help, Qt::LeftButton);
    });
    EXPECT_EQ(about.exec(), 1);
    EXPECT_EQ(helpShown, 1);
}

TEST(AboutBox, OkEndsWithOneAndEscapeWithZero)
{
    int helpShown = 0;
    AboutBox about(nullptr, [&helpShown] { ++helpShown; });
    whenShown<AboutBox>([](AboutBox &box) { click(box, "okButton"); });
    EXPECT_EQ(about.exec(), 1);
    whenShown<AboutBox>([](AboutBox &box) { QTest::keyClick(&box, Qt::Key_Escape); });
    EXPECT_EQ(about.exec(), 0);
    EXPECT_EQ(helpShown, 0);
}

// --- No Table Description ------------------------------------------------------------------

struct NoDescriptionCase
{
    const char *name;
    std::function<void(NoDescriptionDialog &)> answer;
    NoDescriptionDialog::Choice expected;
};

void PrintTo(const NoDescriptionCase &c, std::ostream *out)
{
    *out << c.name;
}

class NoDescription : public ::testing::TestWithParam<NoDescriptionCase>
{};

TEST_P(NoDescription, AnswersWhatTheUserChose)
{
    whenShown<NoDescriptionDialog>([answer = GetParam().answer](NoDescriptionDialog &dialog) {
        EXPECT_EQ(dialog.windowTitle().toStdString(), "Quillon");
        EXPECT_EQ(text(child<QLabel>(dialog, "messageLabel")),
                  "No Database Table Description File Found !");
        QRadioButton *createNew = child<QRadioButton>(dialog, "createNewButton");
        EXPECT_EQ(createNew->text().toStdString(), "Create New One");
        EXPECT_TRUE(createNew->isChecked());
        EXPECT_EQ(child<QRadioButton>(dialog, "loadExistingButton")->text().toStdString(),
                  "Load Existing One");
        answer(dialog);
    });
    EXPECT_EQ(NoDescriptionDialog::ask(nullptr), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    NoDescriptionDialog, NoDescription,
    ::testing::Values(
        NoDescriptionCase{"OkAtOnce",
                          [](NoDescriptionDialog &dialog) { click(dialog, "okButton"); },
                          NoDescriptionDialog::Choice::CreateNew},
        NoDescriptionCase{"LoadExisting",
                          [](NoDescriptionDialog &dialog) {
                              QTest::mouseClick(child<QRadioButton>(dialog, "loadExistingButton"),
                                                Qt::LeftButton);
                              QTest::keyClick(&dialog, Qt::Key_Return);
                          },
                          NoDescriptionDialog::Choice::LoadExisting},
        NoDescriptionCase{"Cancel",
                          [](NoDescriptionDialog &dialog) { click(dialog, "cancelButton"); },
                          NoDescriptionDialog::Choice::GaveUp},
        NoDescriptionCase{
            "Escape", [](NoDescriptionDialog &dialog) { QTest::keyClick(&dialog, Qt::Key_Escape); },
            NoDescriptionDialog::Choice::GaveUp}),
    [](const ::testing::TestParamInfo<NoDescriptionCase> &param) { return param.param.name; });

// --- Layouts --------------------------------------------------------------------------------

class Layouts : public DialogsTest, public ::testing::WithParamInterface<const char *>
{};

// Shows the dialog and checks its layout.
void expectLaidOut(QDialog &dialog)
{
    dialog.show();
    layoutcheck::expectLaidOut(dialog);
    dialog.hide();
}

TEST_P(Layouts, LeaveEveryTextWholeAndNothingOverlapping)
{
    const layoutcheck::Condition condition(GetParam(), QStringLiteral("quillon"));
    pick(Count, "12 apples");
    AboutBox about(&m_owner, {});
    expectLaidOut(about);
    NoDescriptionDialog question(&m_owner);
    expectLaidOut(question);
    PickedDataView view(&m_owner, m_description, m_row);
    expectLaidOut(view);
    ValueEditor editor(&m_owner, m_description, m_row, Name, {});
    expectLaidOut(editor);
    if (condition.german()) {
        EXPECT_EQ(text(child<QLabel>(question, "messageLabel")),
                  "Keine Beschreibungsdatei für eine Datenbanktabelle gefunden!");
        EXPECT_EQ(child<QPushButton>(question, "cancelButton")->text().toStdString(), "Abbrechen");
        EXPECT_EQ(text(child<QLabel>(editor, "requiredLabel")),
                  "Dies ist ein Pflichtfeld, es muss ausgefüllt werden.");
        EXPECT_EQ(editor.windowTitle().toStdString(), "Name    (Höchstens 10 Zeichen)");
    }
}

INSTANTIATE_TEST_SUITE_P(Dialogs, Layouts, layoutcheck::conditions(), layoutcheck::conditionName);

} // namespace
