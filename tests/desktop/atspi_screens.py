#!/usr/bin/python3
"""Drives the real quenlio program with X key events and reads it back through AT-SPI,
as a screen reader would: roles, names and states of every control, a full query, the
activation frame, a rejected half-year code, and the way to the other screens. From
start-up to About it uses the keyboard alone: no click, and no window raised for it.

Usage: atspi_screens.py PATH_TO_QUENLIO  (inside an X display with a window manager and
an AT-SPI bus; run_atspi.sh sets those up)."""

import os
import subprocess
import sys
import time

import pyatspi

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "scripts"))
from atspi_driver import Failure, Program, check, descendants, keys, states, text_of, type_text, wait_for, xdotool  # noqa: E402

FORM5 = "Quenlio ByMorlane"
MAIN = "Quenlio ByMorlane "
FORM4 = "序列号、型号查看方法"

# Every control a user meets has one of these roles and a name to go with it.
NAMED_ROLES = {"frame", "panel", "label", "text", "push button", "image", "link", "alert", "dialog"}


def activate(program, window):
    """Makes sure `window` has the X focus; the window manager normally gives it to a
    screen that opens, and a click on its title does when it does not."""
    try:
        wait_for(lambda: "active" in states(window), f"'{window.name}' to be active", timeout=2)
        return
    except Failure:
        pass
    out = subprocess.run(
        ["xdotool", "search", "--onlyvisible", "--pid", str(program.process.pid), "--name", "."],
        capture_output=True, text=True,
    ).stdout.split()
    extents = window.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    for wid in out:
        geometry = subprocess.run(["xdotool", "getwindowgeometry", "--shell", wid],
                                  capture_output=True, text=True).stdout
        if f"WIDTH={extents.width}\n" in geometry and f"HEIGHT={extents.height}\n" in geometry:
            xdotool("windowactivate", wid)
            break
    wait_for(lambda: "active" in states(window), f"'{window.name}' to be active")


def keyboard_focus(window):
    """Waits for `window` to have the keyboard focus by itself, as the window manager
    gives it to a screen that opens or comes back: a keyboard user has no other way."""
    wait_for(lambda: "active" in states(window), f"'{window.name}' to take the keyboard focus")


def focused(controls):
    return next((acc for accs in controls.values() for acc in accs if "focused" in states(acc)), None)


def actions(acc):
    return [acc.queryAction().getName(i) for i in range(acc.queryAction().nActions)]


def assert_inert(acc):
    """A picture or label that does nothing: out of the Tab chain, nothing to press."""
    assert_states(acc, absent=("focusable",))
    check(not actions(acc), f"'{acc.name}' offers the actions {actions(acc)}")


def assert_pressable(acc):
    assert_states(acc, present=("focusable",))
    check(actions(acc) == ["Press"], f"'{acc.name}' offers the actions {actions(acc)}, not Press")


def check_named_tree(window):
    """Every control shows its role, a name and its states; no anonymous panes. Returns
    the controls by (role, name), read once: every read is a round trip on the bus."""
    check(window.getRoleName() == "frame", f"'{window.name}' is a {window.getRoleName()}, not a frame")
    controls = {}
    for acc in descendants(window):
        role, name = acc.getRoleName(), acc.name
        check(role in NAMED_ROLES, f"'{name}' in '{window.name}' has the role '{role}'")
        check(name.strip() != "", f"a {role} in '{window.name}' has no accessible name")
        check(states(acc), f"'{name}' in '{window.name}' exposes no states")
        controls.setdefault((role, name), []).append(acc)
    return controls


def control(controls, role, name):
    found = controls.get((role, name), [])
    check(len(found) == 1, f"{len(found)} controls '{name}' ({role}), not one")
    return found[0]


def assert_states(acc, present=(), absent=()):
    got = states(acc)
    for s in present:
        check(s in got, f"'{acc.name}' ({acc.getRoleName()}) is not {s}: {sorted(got)}")
    for s in absent:
        check(s not in got, f"'{acc.name}' ({acc.getRoleName()}) is {s}: {sorted(got)}")


def tab_to(target, limit=30):
    """Presses Tab until the focus is on `target`; the keyboard alone must reach it."""
    for _ in range(limit):
        if "focused" in states(target):
            return
        keys("Tab")
        time.sleep(0.02)
    check("focused" in states(target), f"Tab never reaches '{target.name}'")


def tab_order_to(controls, target, limit=30):
    """Presses Tab until `target` has the focus; returns the controls it passed through."""
    passed = []
    for _ in range(limit):
        now = wait_for(lambda: focused(controls), "a control with the focus")
        if now == target:
            return passed
        passed.append(now)
        keys("Tab")
        wait_for(lambda: focused(controls) not in (None, now), "the focus to move on")
    raise Failure(f"Tab never reaches '{target.name}'")


def read_dialog(program):
    box = wait_for(lambda: program.dialogs(), "a message box")
    check(len(box) == 1, f"{len(box)} message boxes are up, not one")
    box = box[0]
    # Keys go to the box only once the window manager has given it the focus.
    wait_for(lambda: "active" in states(box), "the message box to take the focus")
    texts = [a.name for a in descendants(box) if a.getRoleName() == "label" and a.name]
    return box, box.name, texts


def run(binary):
    program = Program(binary)
    try:
        started = time.monotonic()
        form5 = program.window(FORM5)
        keyboard_focus(form5)
        check(len(program.windows()) == 1, "more than one screen is open at start-up")

        # The keyboard alone, from start-up: Tab passes the inputs and buttons first, then
        # the shop banner and "返回"; Enter on "返回" opens the menu in place of Form5.
        first = check_named_tree(form5)
        banner = control(first, "image", "欢迎光临Morlane的小店")
        back = control(first, "link", "返回")
        assert_pressable(banner)
        assert_pressable(back)
        for (role, name), accs in first.items():
            if role == "image" and "iPhone" in name:
                assert_inert(accs[0])
        wait_for(lambda: "focused" in states(control(first, "text", "序列号(12位)")), "the focus in the serial box")
        passed = tab_order_to(first, back)
        check(passed[-1] == banner, f"the banner is not just before 返回: {[a.name for a in passed]}")
        check(all(a.getRoleName() in ("text", "push button") for a in passed[:-1]),
              f"Tab reaches the banner before an input or button: {[a.name for a in passed]}")
        check("查看方法" in [a.name for a in passed], "Tab passed the button 查看方法 by")
        keys("Return")
        menu = program.window(MAIN)
        wait_for(lambda: all(w.name != FORM5 for w in program.windows()), "Form5 to close")
        keyboard_focus(menu)

        # On the menu the title is a picture only; Space on the 12-character models opens
        # a fresh Form5 and closes the menu.
        menu_tree = check_named_tree(menu)
        assert_inert(control(menu_tree, "image", "请选择设备型号"))
        models12 = control(menu_tree, "image", "iPhone4S、iPhone5、iPhone4(8GB)")
        assert_pressable(models12)
        tab_to(models12)
        keys("space")
        form5 = program.window(FORM5)
        wait_for(lambda: all(w.name != MAIN for w in program.windows()), "the menu to close")
        keyboard_focus(form5)
        tree = check_named_tree(form5)

        text1 = control(tree, "text", "序列号(12位)")
        text2 = control(tree, "text", "型号")
        command1 = control(tree, "push button", "查询")
        command2 = control(tree, "push button", "查看方法")
        command3 = control(tree, "push button", "保修查询")
        command6 = control(tree, "push button", "激活查询")
        command7 = control(tree, "push button", "是否翻新")
        text8 = control(tree, "text", "保修截止")
        text11 = control(tree, "text", "激活时间")
        results = {name: control(tree, "text", name)
                   for name in ("设备型号", "出厂时间", "销售地", "运营商", "产地", "是否售后换机")}
        control(tree, "link", "返回")
        for frame in ("信息输入", "查询结果", "激活时间查询"):
            control(tree, "panel", frame)

        # The designed state: only the serial box is usable, and it has the focus.
        wait_for(lambda: "focused" in states(text1), "the focus in the serial box")
        assert_states(text1, present=("enabled", "editable", "focused", "showing"))
        assert_states(text2, absent=("enabled",))
        for button in (command1, command3, command6, command7):
            assert_states(button, present=("showing",), absent=("enabled",))
        assert_states(text11, present=("read only",), absent=("enabled",))
        photos = [a for (role, name), accs in tree.items() if role == "image" and "iPhone" in name for a in accs]
        check(len(photos) == 4, f"{len(photos)} handset photos, not four")
        check(all("showing" not in states(p) for p in photos), "a handset photo shows before any query")

        # A serial in lower case with the letter o, then a part number, typed as keys.
        type_text("dnpjyo12abcd")
        wait_for(lambda: "focused" in states(text2), "the focus to move to the part-number box")
        check(text_of(text1) == "DNPJY012ABCD", f"the serial box reads '{text_of(text1)}'")
        assert_states(text2, present=("enabled", "editable"))
        check(not program.dialogs(), "a valid half-year code raised a message")
        type_text("md239ch")
        wait_for(lambda: "enabled" in states(command1), "the query button to be enabled")
        check(text_of(text2) == "MD239CH", f"the part-number box reads '{text_of(text2)}'")

        tab_to(command1)
        keys("space")
        wait_for(lambda: text_of(results["设备型号"]), "the query results")
        expected = {
            "设备型号": "iPhone 4S 16GB 白色(GSM)",
            "出厂时间": "2012年12月30日-12月31日",
            "销售地": "中国",
            "运营商": "中国联通/移动",
            "产地": "中国-成都富士康",
            "是否售后换机": "否(供参考)",
        }
        for name, value in expected.items():
            check(text_of(results[name]) == value, f"{name} reads '{text_of(results[name])}', not '{value}'")
            assert_states(results[name], present=("enabled",))
        for name in ("设备型号", "出厂时间", "销售地", "运营商", "产地"):
            assert_states(results[name], present=("read only",))
        assert_states(text8, present=("enabled", "editable"))
        assert_states(command3, present=("enabled",))
        assert_states(command6, absent=("enabled",))
        assert_states(command7, absent=("enabled",))
        shown = [p.name for p in photos if "showing" in states(p)]
        check(len(shown) == 1 and "白色" in shown[0], f"the photos showing after the query: {shown}")

        # The warranty button from the keyboard: the question (Escape answers Cancel, so
        # no browser starts), then the hint, closed with Enter; the focus goes to the date.
        tab_to(command3)
        keys("space")
        box, title, texts = read_dialog(program)
        check(title == "保修查询", f"the question's title is '{title}'")
        check("保修查询需要到第三方网站查询，点击“确定”去查询" in texts, f"the question reads {texts}")
        keys("Escape")
        wait_for(lambda: any(w.name == "输入保修截止" for w in program.dialogs()), "the warranty hint")
        box, title, texts = read_dialog(program)
        check("查询激活时间，请将查到的“过保时间”粘贴到文本框，如2013-11-11" in texts, f"the hint reads {texts}")
        keys("Return")
        wait_for(lambda: not program.dialogs(), "the hint to close")
        wait_for(lambda: "focused" in states(text8), "the focus in the warranty date box")

        type_text("2013-11-11")
        wait_for(lambda: "enabled" in states(command6), "the activation button to be enabled")
        tab_to(command6)
        keys("Return")  # Enter presses a button as Space does
        wait_for(lambda: text_of(text11) == "2012-11-12", "the activation date 2012-11-12")
        assert_states(text11, present=("enabled", "read only"))
        assert_states(command7, present=("enabled",))

        # The verdict button opens its input box from the keyboard; Escape leaves it.
        tab_to(command7)
        keys("space")
        box, title, texts = read_dialog(program)
        check(title.strip() != "", "the purchase-date box has no title")
        keys("Escape")
        wait_for(lambda: not program.dialogs() or program.dialogs()[0] != box, "the input box to close")
        while program.dialogs():  # whatever the verdict says on a cancel, close it the same way
            keys("Return")
            time.sleep(0.1)

        # "查看方法" opens the where-to-find screen; closing it leaves Form5 as it was.
        tab_to(command2)
        keys("KP_Enter")
        form4 = program.window(FORM4)
        for (role, _), accs in check_named_tree(form4).items():
            if role in ("image", "label"):
                assert_inert(accs[0])
        keyboard_focus(form4)
        keys("alt+F4")
        wait_for(lambda: all(w.name != FORM4 for w in program.windows()), "the where-to-find screen to close")
        keyboard_focus(form5)
        check(text_of(results["设备型号"]) == expected["设备型号"], "closing Form4 changed Form5")

        # A rejected half-year code: exactly one message, read and closed with the keyboard.
        tab_to(text1)
        keys("ctrl+a")
        type_text("dnpl1o12abcd")
        box, title, texts = read_dialog(program)
        check(title == "序列号错误！", f"the message's title is '{title}'")
        check(texts == ["请输入正确的序列号!"], f"the message reads {texts}")
        keys("Return")
        wait_for(lambda: not program.dialogs(), "the message to close")
        time.sleep(0.3)
        check(not program.dialogs(), "a second message followed the first")
        wait_for(lambda: "focused" in states(text1), "the focus back in the serial box")
        check(text_of(text1) == "" and text_of(text2) == "", "the serial or part number was not emptied")
        assert_states(text2, absent=("enabled",))
        assert_states(command1, absent=("enabled",))
        assert_states(command3, absent=("enabled",))

        # A hand scanner's pace: the part number first, kept until its serial comes; its Enter
        # queries nothing. An IMEI changes nothing and says so.
        type_text("1PMD297CH/A\n", delay=10)
        type_text("SF1RJP3XYDTWF\n", delay=10)
        wait_for(lambda: text_of(text2) == "MD297CH", "the scanned part number")
        check(text_of(text1) == "F1RJP3XYDTWF" and not program.dialogs(), f"the serial reads '{text_of(text1)}'")
        check(text_of(results["设备型号"]) == expected["设备型号"], "the scanner's Enter ran the query")
        type_text("013425001234567\n", delay=10)
        box, title, texts = read_dialog(program)
        check((title, texts) == ("扫描条码", ["这是IMEI码，请扫描序列号或型号的条码"]), f"the IMEI brought {title} {texts}")
        keys("Return")
        wait_for(lambda: not program.dialogs(), "the message to close")
        check((text_of(text1), text_of(text2)) == ("F1RJP3XYDTWF", "MD297CH"), "the IMEI changed the boxes")

        # Back to the menu with the keyboard, and About from it with Enter; About's
        # picture, a link to the shop, has the focus at once.
        back = control(tree, "link", "返回")
        tab_to(back)
        keys("Return")
        menu = program.window(MAIN)
        wait_for(lambda: all(w.name != FORM5 for w in program.windows()), "Form5 to close")
        keyboard_focus(menu)
        menu_tree = check_named_tree(menu)
        images = [a for (role, _), accs in menu_tree.items() if role == "image" for a in accs]
        check(len(images) == 7, f"the menu has {len(images)} pictures, not seven")
        for image in images:
            if image.name != "请选择设备型号":
                assert_pressable(image)
        tab_to(control(menu_tree, "image", "关于"))
        keys("Return")
        about = program.window("关于")
        keyboard_focus(about)
        about_picture = next(iter(check_named_tree(about).values()))[0]
        wait_for(lambda: "focused" in states(about_picture), "the focus on the About picture")
        keys("alt+F4")
        wait_for(lambda: all(w.name != "关于" for w in program.windows()), "'关于' to close")
        keyboard_focus(menu)
        keyboard_elapsed = time.monotonic() - started

        # Instructions, pressed from the screen reader, open beside the menu and close
        # with the window manager.
        control(menu_tree, "image", "说明").queryAction().doAction(0)
        screen = program.window("说明")
        check_named_tree(screen)
        activate(program, screen)
        keys("alt+F4")
        wait_for(lambda: all(w.name != "说明" for w in program.windows()), "'说明' to close")
        activate(program, menu)

        # The 11-character screen, from the menu picture naming its models, used from the
        # keyboard alone.
        old_models = next(a for (role, name), accs in menu_tree.items() if role == "image" and "iPhone3GS" in name
                          for a in accs)
        old_models.queryAction().doAction(0)
        form3 = program.window(FORM5)
        wait_for(lambda: all(w.name != MAIN for w in program.windows()), "the menu to close")
        activate(program, form3)
        tree3 = check_named_tree(form3)
        serial3 = control(tree3, "text", "序列号(11位)")
        part3 = control(tree3, "text", "型号")
        query3 = control(tree3, "push button", "查询")
        control(tree3, "link", "返回")
        tab_to(serial3)
        type_text("5k905abc8m9")
        wait_for(lambda: "focused" in states(part3), "the focus in Form3's part-number box")
        type_text("mb046ll")
        wait_for(lambda: "enabled" in states(query3), "Form3's query button to be enabled")
        tab_to(query3)
        keys("Return")
        expected3 = {"设备型号": "iPhone 3GS 32GB 黑色", "出厂时间": "2009年第05周", "销售地": "美国",
                     "运营商": "AT&T", "产地": "中国", "是否售后换机": "是"}
        box3 = {name: control(tree3, "text", name) for name in expected3}
        wait_for(lambda: text_of(box3["是否售后换机"]), "Form3's results")
        for name, value in expected3.items():
            check(text_of(box3[name]) == value, f"Form3 {name} reads '{text_of(box3[name])}', not '{value}'")

        # The serial's year typed over with a letter: its check fails at once, with 查询 still
        # enabled. Under the message a screen reader's press on it does nothing, as a click
        # there would; the message then empties the serial.
        tab_to(serial3)
        keys("Home", "Right", "Right", "shift+Right")
        type_text("z")
        box, title, texts = read_dialog(program)
        check(texts == ["序列号有误，请核对后重新输入！"], f"the message reads {texts}")
        query3.queryAction().doAction(0)
        time.sleep(0.5)
        keys("Return")
        wait_for(lambda: not program.dialogs(), "the message to close")
        check(text_of(serial3) == "", f"the rejected serial stays: '{text_of(serial3)}'")
        for name, value in expected3.items():
            check(text_of(box3[name]) == value, f"a press under the message changed {name} to '{text_of(box3[name])}'")

        # Form3 from a hand scanner: serial, then part number, each with its Enter.
        type_text("S88923ABC3NP\n", delay=10)
        type_text("1PMB716CH/A\n", delay=10)
        wait_for(lambda: text_of(part3) == "MB716CH", "Form3's scanned part number")
        check(text_of(serial3) == "88923ABC3NP" and not program.dialogs(), f"Form3's serial reads '{text_of(serial3)}'")

        print(f"AT-SPI walk from start-up to About took {keyboard_elapsed:.1f} s, "
              f"of all six screens {time.monotonic() - started:.1f} s")
    finally:
        program.stop()


if __name__ == "__main__":
    try:
        run(sys.argv[1])
    except Failure as failure:
        print(f"FAIL: {failure}", file=sys.stderr)
        sys.exit(1)
    print("accessible and usable from the keyboard")
