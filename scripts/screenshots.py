#!/usr/bin/python3
"""Starts the program and walks it from screen to screen through AT-SPI, writing a PNG of each with
its window frame: run by scripts/screenshots inside Xvfb with openbox and an AT-SPI bus.
Usage: screenshots.py BINARY OUT_DIR
"""
import os, subprocess, sys, tempfile, time
from atspi_driver import Program, find, press, states, wait_for, xdotool

binary, out = sys.argv[1], sys.argv[2]
program = Program(binary, stderr=subprocess.DEVNULL)


def screen(name):
    window = program.window(name)
    wait_for(lambda: "active" in states(window), f"the screen '{name}' to be active")
    return window


control = find


def keys(*args):
    xdotool(*args)


def shoot(file):
    time.sleep(0.4)  # let the window manager draw the frame and the screen repaint
    window = subprocess.run(["xdotool", "getactivewindow"], capture_output=True, text=True, check=True).stdout.strip()
    subprocess.run(["import", "-window", window, "-frame", os.path.join(out, file)], check=True)
    print(f"wrote {os.path.join(out, file)}")


def close():
    keys("key", "--clearmodifiers", "alt+F4")


form5 = screen("Quenlio ByMorlane")
shoot("form5.png")

keys("type", "--delay", "20", "f1rjp3xydtwf")
wait_for(lambda: "enabled" in states(control(form5, "text", "型号")), "the part-number box")
keys("type", "--delay", "20", "md297ch")
query = control(form5, "push button", "查询")
wait_for(lambda: "enabled" in states(query), "the query button")
press(query)
wait_for(lambda: control(form5, "text", "设备型号").queryText().getText(0, -1), "the results")
shoot("form5-query.png")

text8 = control(form5, "text", "保修截止")
text8.queryComponent().grabFocus()
wait_for(lambda: "focused" in states(text8), "the warranty date box")
keys("type", "--delay", "20", "2013-11-11")
activation = control(form5, "push button", "激活查询")
wait_for(lambda: "enabled" in states(activation), "the activation button")
press(activation)
wait_for(lambda: control(form5, "text", "激活时间").queryText().getText(0, -1), "the activation date")
shoot("form5-activation.png")

press(control(form5, "push button", "查看方法"))
screen("序列号、型号查看方法")
shoot("form4.png")
close()

form5 = screen("Quenlio ByMorlane")
press(control(form5, "link", "返回"))
menu = screen("Quenlio ByMorlane ")
shoot("main.png")
press(control(menu, "image", "关于"))
screen("关于")
shoot("form1.png")
close()
menu = screen("Quenlio ByMorlane ")
press(control(menu, "image", "说明"))
screen("说明")
shoot("form2.png")
close()
menu = screen("Quenlio ByMorlane ")
press(control(menu, "image", "iPhone3GS"))
form3 = screen("Quenlio ByMorlane")
shoot("form3.png")

# The handset's 关于本机 screen read for text on the old handsets' screen: the 核对 box; then after
# the box label of the same handset, whose part number differs, 机盒不一致.
pictures = tempfile.mkdtemp()
for script, folder in (("tests/ocr/draw_about_screens.sh", pictures), ("tests/reader/draw_labels.sh", pictures + "/labels")):
    subprocess.run(["bash", script, folder], check=True, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)


def pick(file):
    press(control(form3, "push button", "扫描条码"))
    picker = program.window("扫描条码", "dialog")
    wait_for(lambda: "active" in states(picker), "the file dialog to be active")
    keys("type", "--delay", "10", file)
    keys("key", "Return")


def read_picture(file):
    pick(file)
    check = program.window("核对识别结果", "dialog")
    wait_for(lambda: "active" in states(check), "核对识别结果 to be active")


read_picture(pictures + "/old-zh-ios6-960.png")
shoot("desktop-核对识别结果.png")
keys("key", "Escape")
form3 = screen("Quenlio ByMorlane")
pick(pictures + "/labels/old-label.png")
form3 = screen("Quenlio ByMorlane")
wait_for(lambda: control(form3, "text", "型号").queryText().getText(0, -1) == "MB716CH", "the label's part number")
read_picture(pictures + "/old-zh-ios6-960.png")
shoot("desktop-机盒不一致.png")
keys("key", "Escape")
program.stop()
