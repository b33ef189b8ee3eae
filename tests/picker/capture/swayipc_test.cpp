// SPDX-License-Identifier: MIT
// Reading sway's layout tree: the window the picker picks from after the picker itself has taken
// the focus, the window at a point, and the process and class of a window. The tree is the shape
// sway 1.7 answers get_tree with, cut to the fields that matter.

#include <gtest/gtest.h>

#include <QJsonDocument>

#include "picker/capture/wayland/swayipc.h"

namespace {

// Workspace 1 holds a GTK entry (pid 300) and a terminal (pid 400) side by side, the picker
// (pid 100, under XWayland) floating; the picker has the focus, the terminal had it before, the
// entry before that. The scratchpad hides another window.
constexpr const char *Tree = R"({
 "id": 1, "type": "root", "name": "root", "focus": [3, 2147483647],
 "nodes": [
  {"id": 2147483647, "type": "output", "name": "__i3", "focus": [2147483646], "nodes": [
   {"id": 2147483646, "type": "workspace", "name": "__i3_scratch", "focus": [9], "nodes": [],
    "floating_nodes": [{"id": 9, "type": "floating_con", "name": "hidden", "pid": 900,
     "app_id": "hidden", "focused": false, "nodes": [], "floating_nodes": [],
     "rect": {"x": 0, "y": 0, "width": 100, "height": 100}}]}]},
  {"id": 3, "type": "output", "name": "HEADLESS-1", "focus": [4], "nodes": [
   {"id": 4, "type": "workspace", "name": "1", "focus": [7, 6, 5],
    "rect": {"x": 0, "y": 0, "width": 1280, "height": 1024},
    "nodes": [
     {"id": 5, "type": "con", "name": "entry", "pid": 300, "app_id": "zenity", "focused": false,
      "visible": true, "nodes": [], "floating_nodes": [],
      "rect": {"x": 0, "y": 0, "width": 640, "height": 1024}},
     {"id": 6, "type": "con", "name": "terminal", "pid": 400, "app_id": "foot",
      "focused": false, "visible": true, "nodes": [], "floating_nodes": [],
      "rect": {"x": 640, "y": 0, "width": 640, "height": 1024}}],
    "floating_nodes": [
     {"id": 7, "type": "floating_con", "name": "Quillon", "pid": 100, "app_id": null,
      "focused": true, "visible": true, "nodes": [], "floating_nodes": [],
      "window_properties": {"class": "quillon", "instance": "quillon"},
      "rect": {"x": 600, "y": 10, "width": 100, "height": 200}}]}]}]
})";

QJsonObject tree()
{
    return QJsonDocument::fromJson(Tree).object();
}

TEST(SwayTree, TheFocusedWindowIsThePickersOwn)
{
    const std::optional<sway::Window> focused = sway::focusedWindow(tree());
    ASSERT_TRUE(focused.has_value());
    EXPECT_EQ(focused->id, 7);
    EXPECT_EQ(focused->pid, 100);
    EXPECT_EQ(focused->appId, "");
    EXPECT_EQ(focused->className, "quillon");
}

TEST(SwayTree, ThePickTargetIsTheLastFocusedWindowOfAnotherProgram)
{
    const std::optional<sway::Window> target = sway::lastFocusedForeign(tree(), 100);
    ASSERT_TRUE(target.has_value());
    EXPECT_EQ(target->id, 6);
    EXPECT_EQ(target->pid, 400);
    EXPECT_EQ(target->appId, "foot");
    // Asked from another program, the picker's window is the target.
    EXPECT_EQ(sway::lastFocusedForeign(tree(), 400)->id, 7);
}

TEST(SwayTree, AFloatingWindowLiesAboveTheTiledOnes)
{
    EXPECT_EQ(sway::windowAt(tree(), 650, 50, 0)->id, 7);
    // The picker's own window is looked through.
    EXPECT_EQ(sway::windowAt(tree(), 650, 50, 100)->id, 6);
    EXPECT_EQ(sway::windowAt(tree(), 10, 10, 100)->id, 5);
    EXPECT_FALSE(sway::windowAt(tree(), 2000, 10, 100).has_value());
}

TEST(SwayTree, WindowsAreFoundByIdAndListedWithTheHiddenOnes)
{
    EXPECT_EQ(sway::windowById(tree(), 5)->title, "entry");
    EXPECT_FALSE(sway::windowById(tree(), 4).has_value());
    EXPECT_EQ(sway::windows(tree()).size(), 4u);
}

} // namespace
