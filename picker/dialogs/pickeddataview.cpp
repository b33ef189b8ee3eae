// SPDX-License-Identifier: MIT
#include "picker/dialogs/pickeddataview.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "picker/dialogs/dialoglayout.h"
#include "picker/dialogs/valueedit.h"

namespace {

// Pixels of the list's width that are not the "Picked Data" column.
constexpr int OtherColumnsWidth = 134;

// The "Valid" column's text for a stored value, which the check may rewrite.
QString validity(PickedRow &row, const FieldDescription &description, int field)
{
    if (row.value[static_cast<std::size_t>(field)].empty())
        return QStringLiteral("  ");
    return checkStoredValue(row, description, field) ? PickedDataView::tr("Yes")
                                                     : PickedDataView::tr("No ");
}

} // namespace

PickedDataView::PickedDataView(QWidget *owner, const TableDescription &description, PickedRow &row)
    : QDialog(owner)
{
    setWindowTitle(tr("Quilloned"));

    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("pickedList"));
    // Room for a value of about fifty characters and for nine rows.
    m_list->setMinimumSize(fontMetrics().averageCharWidth() * 68, fontMetrics().height() * 15);
    m_list->setColumnCount(3);
    m_list->setHeaderLabels({tr("Field Name"), tr("Picked Data"), tr("Valid")});
    m_list->setRootIsDecorated(false);
    m_list->setItemsExpandable(false);
    m_list->setUniformRowHeights(true);
    m_list->setSelectionMode(QAbstractItemView::SingleSelection);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSortingEnabled(false);
    m_list->header()->setSectionsClickable(false);
    m_list->header()->setSectionsMovable(false);
    m_list->header()->setStretchLastSection(false);
    m_list->setColumnWidth(0, 80);
    m_list->setColumnWidth(2, 50);
    m_list->installEventFilter(this);

    auto *hint = namedLabel(this, tr("To edit, double click on the item"), "hintLabel");
    auto *close = commandButton(this, tr("Close"), "closeButton");
    close->setDefault(true);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addLayout(centredRow({hint}));
    layout->addLayout(centredRow({close}));
    setFixedSize(sizeHint());

    const int count = std::min({row.fieldCount, description.fieldCount, MaxFields});
    for (int i = 0; i < count; ++i) {
        const FieldDescription &field = description.fields[static_cast<std::size_t>(i)];
        auto *item = new QTreeWidgetItem(m_list);
        item->setText(0, QString::fromStdString(field.title));
        item->setText(1, QString::fromStdString(row.value[static_cast<std::size_t>(i)]));
        item->setText(2, validity(row, field, i));
    }

    connect(m_list, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem *item) { edit(item); });
    m_list->setFocus(Qt::OtherFocusReason);
}

void PickedDataView::showEvent(QShowEvent *event)
{
    // "Picked Data" takes the width of the list that the other columns leave.
    m_list->setColumnWidth(1, m_list->width() - OtherColumnsWidth);
    QDialog::showEvent(event);
}

bool PickedDataView::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !m_list->selectedItems().isEmpty()) {
            edit(m_list->selectedItems().constFirst());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PickedDataView::edit(QTreeWidgetItem *item)
{
    const int index = item != nullptr ? m_list->indexOfTopLevelItem(item) : -1;
    if (index < 0)
        return;
    m_fieldToEdit = index;
    accept();
}
