"""The gallery window on the accessibility bus: roles, names, skin names,
states, actions through the bus, typing, events on rebuilds, a message box
opened by a bus action, and real clicks at the positions the bus reports.
Usage: /usr/bin/python3 test_a11y.py path/to/qv-gallery"""
import os
import sys
import time
import unittest

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import a11y  # noqa: E402

GALLERY = None


class GalleryOnTheBus(unittest.TestCase):
    def setUp(self):
        self.app = a11y.App.launch([GALLERY], cwd=os.path.dirname(GALLERY))
        self.app.wait_line("^ready$")
        self.win = self.app.window("控件样例")

    def tearDown(self):
        self.app.close()

    def test_controls_have_roles_names_and_skin_names(self):
        expected = {
            "gallery_btn": ("push button", "按钮"),
            "closebtn": ("push button", "关闭"),        # no text: the tooltip
            "opt_a": ("radio button", "选项一"),
            "opt_toggle": ("check box", "开关"),        # an option of no group
            "check": ("check box", "记住密码"),
            "edit_plain": ("text", "手机号码"),         # an edit: its prompt
            "edit_pwd": ("password text", "密码"),
            "combo": ("combo box", "全部记录"),
            "label": ("label", "普通标签：Velto网络电话"),
            "list": ("list", ""),
            "item": ("list item", "张三 13800000001"),  # markup left out
            "tabs": ("page tab list", ""),
            "rich": ("text", ""),
        }
        for skin_name, (role, name) in expected.items():
            node = self.win.find(skin_name)
            self.assertEqual(node.role, role, skin_name)
            if name:
                self.assertEqual(node.name, name, skin_name)
        self.assertEqual(len(self.win.find_all("item")), 2)
        self.assertEqual(self.win.find("plain_item").role, "list item")
        # States.
        self.assertFalse(self.win.find("disabled_btn").enabled)
        self.assertTrue(self.win.find("gallery_btn").enabled)
        self.assertTrue(self.win.find("opt_a").checked)
        self.assertFalse(self.win.find("opt_b").checked)
        # The web page sits on the hidden tab page: not showing.
        self.assertIsNone(self.win.find_now("web"))
        self.assertFalse(self.win.find("web", showing_only=False).showing)
        # Geometry: inside the window.
        wx, wy, ww, wh = self.win.extents()
        x, y, w, h = self.win.find("gallery_btn").extents()
        self.assertTrue(wx <= x and y >= wy and x + w <= wx + ww and y + h <= wy + wh, (x, y, w, h, wx, wy))
        self.assertGreater(w, 20)

    def test_press_through_the_bus_gives_the_notifications_of_a_click(self):
        start = len(self.app.read_lines())
        self.win.find("gallery_btn").press()
        self.app.wait_line("^notify click gallery_btn", start=start)
        with self.app.events("object:state-changed:checked") as log:
            self.win.find("opt_b").press()
            self.app.wait_line("^notify selectchanged opt_b", start=start)
            a11y.wait_until(lambda: self.win.find("opt_b").checked)
            self.assertFalse(self.win.find("opt_a").checked)
            log.wait(lambda e: e.source.description == "opt_b" and e.detail1 == 1)
            log.wait(lambda e: e.source.description == "opt_a" and e.detail1 == 0)
        # A check box toggles.
        self.win.find("check").press()
        a11y.wait_until(lambda: self.win.find("check").checked)
        self.win.find("check").press()
        a11y.wait_until(lambda: not self.win.find("check").checked)
        # A disabled button does nothing.
        self.win.find("disabled_btn").press()
        time.sleep(0.3)
        self.assertFalse(any("disabled_btn" in l for l in self.app.read_lines()))

    def test_renames_are_announced_and_identities_stay(self):
        label = self.win.find("label")
        path = label.acc.path
        with self.app.events("object:property-change:accessible-name") as log:
            self.win.find("gallery_btn").press()
            log.wait(lambda e: e.source.description == "label")
        a11y.wait_until(lambda: label.name == "按钮按了1次")
        self.assertEqual(self.win.find("label").acc.path, path)  # the same object
        # Rebuilt items are new objects; the old ones are gone.
        old = {n.acc.path for n in self.win.find_all("item")}
        self.win.find("rebuild_btn").press()
        a11y.wait_until(lambda: len(self.win.find_all("item")) == 5)
        new = {n.acc.path for n in self.win.find_all("item")}
        self.assertFalse(old & new)

    def test_typing_and_reading_back(self):
        with self.app.events("focus:") as log:
            edit = self.win.find("edit_plain")
            edit.type("13800000000")
            self.assertEqual(edit.text(), "13800000000")
            self.app.wait_line("^notify setfocus edit_plain")
            self.app.wait_line("^notify textchanged edit_plain")
            log.wait(lambda e: e.source.description == "edit_plain")
        # The edit's limits apply as for typing: at most 22 characters.
        edit.acc.queryEditableText().setTextContents("1" * 30)
        a11y.wait_until(lambda: edit.text() == "1" * 22)
        pwd = self.win.find("edit_pwd")
        pwd.type("密码abc")
        self.assertEqual(pwd.text(), "\u25cf" * 5)  # never the password itself
        self.assertTrue(pwd.focused)
        self.assertFalse(edit.focused)

    def test_list_items_follow_rebuilds_with_events(self):
        self.assertEqual(len(self.win.find_all("item")), 2)
        lst = self.win.find("list")
        # (Qt announces removals to clients that also follow state changes,
        # as screen readers do.)
        with self.app.events("object:children-changed", "object:state-changed") as log:
            self.win.find("rebuild_btn").press()
            self.app.wait_line("^rebuilt 5")
            a11y.wait_until(lambda: len(self.win.find_all("item")) == 5)
            log.wait(lambda e: e.type.endswith(":add") and e.source.description == "list")
            log.wait(lambda e: e.type.endswith(":remove") and e.source.description == "list")
        self.assertEqual(lst.acc.childCount, 5)
        names = [n.name for n in self.win.find_all("item")]
        self.assertEqual(names[0], "联系人1 13900000000")
        # Items answer select (a click: itemclick) and activate (a double click).
        first = self.win.find_all("item")[1]
        start = len(self.app.read_lines())
        first.select()
        self.app.wait_line("^notify itemclick item", start=start)
        a11y.wait_until(lambda: self.win.find_all("item")[1].selected)
        first.activate()
        self.app.wait_line("^notify itemactivate item", start=start)
        # And back to two items: the old ones are gone from the bus.
        self.win.find("rebuild_btn").press()
        a11y.wait_until(lambda: len(self.win.find_all("item")) == 2)
        self.assertEqual(lst.acc.childCount, 2)

    def test_combo_choices_are_selected_through_the_bus(self):
        combo = self.win.find("combo")
        choices = combo.children()
        self.assertEqual([c.name for c in choices], ["全部记录", "已拨电话", "未接来电"])
        self.assertEqual([c.role for c in choices], ["list item"] * 3)
        start = len(self.app.read_lines())
        choices[2].select()
        self.app.wait_line("^notify itemselect combo 2", start=start)
        a11y.wait_until(lambda: self.win.find("combo").name == "未接来电")

    def test_message_box_opened_by_a_bus_action_does_not_block(self):
        t = time.monotonic()
        self.win.find("msgbox_btn").press()
        self.assertLess(time.monotonic() - t, 2.0)
        box = self.app.message_box(text="确定要继续吗？")
        self.assertEqual(box.name, "提示")
        self.assertEqual(sorted(b.name.replace("&", "").split("(")[0] for b in box.buttons()), ["否", "是"])
        box.press("是")
        self.app.wait_line("^answer 6$")

    def test_real_clicks_at_the_reported_positions(self):
        start = len(self.app.read_lines())
        self.win.find("gallery_btn").click()
        self.app.wait_line("^notify click gallery_btn", start=start)
        self.win.find("opt_toggle").click()
        self.app.wait_line("^notify selectchanged opt_toggle", start=start)
        a11y.wait_until(lambda: self.win.find("opt_toggle").checked)

    def test_program_ends_cleanly_after_showing_a_web_page(self):
        self.win.find("tab_web").press()
        a11y.wait_until(lambda: self.win.find_now("web") is not None)
        time.sleep(1.0)  # the web engine is up
        self.win.find("closebtn").press()
        self.app.wait_line("^quit 0$")
        self.assertEqual(self.app.process.wait(30), 0)

    def test_tab_pages_show_and_hide(self):
        self.win.find("tab_web").press()
        a11y.wait_until(lambda: self.win.find_now("web") is not None)
        self.assertIsNone(self.win.find_now("rich"))
        pages = self.win.find("tabs").children()
        self.assertEqual([p.role for p in pages], ["page tab", "page tab"])
        self.assertTrue(pages[1].selected)
        # The page itself hangs under the browser control once it is shown.
        web = self.win.find("web")
        self.assertEqual(web.role, "document web")
        a11y.wait_until(lambda: web.acc.childCount == 1)


if __name__ == "__main__":
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    GALLERY = os.path.abspath(sys.argv.pop(1))
    unittest.main(verbosity=2)
