#!/usr/bin/python3
"""End to end, as a new user would: the phone under Xvfb with the Qt
backend against the local test stack. Types with real input events
(xdotool), finds controls through the accessibility bus, checks the SIP
registration at kamailio, and keeps screenshots in artifacts/.

    phone_e2e.py BIN_DIR REPO_ROOT
"""
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import urllib.request

BIN, ROOT = sys.argv[1], sys.argv[2]
ART = os.path.join(ROOT, "artifacts")
RUN_DIR = os.environ.get("QV_RUN_DIR", os.path.join(ROOT, "run-data", "test"))
NUMBER, PASSWORD = "13800000001", "123456"
LIMIT = 30  # seconds for every wait

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import phone_driver as pd  # noqa: E402

failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)
    return ok


def control(command):
    with urllib.request.urlopen("http://127.0.0.1:8909/control/" + command, timeout=10) as r:
        return r.read().decode()


def registered_at_kamailio(number):
    out = subprocess.run(["kamcmd", "-s", "unix:" + os.path.join(RUN_DIR, "kamailio_ctl"),
                          "ul.lookup", "location", number + "@127.0.0.1"], capture_output=True, text=True)
    return ("AoR: " + number) in out.stdout


def main():
    if not os.environ.get("DISPLAY") or shutil.which("xdotool") is None:
        print("no X display (run inside scripts/with-display): skipped")
        return 77
    os.makedirs(ART, exist_ok=True)
    check(control("reset") == "OK", "test stack answers")
    work = tempfile.mkdtemp(prefix="qv-e2e-")
    env = dict(os.environ)
    env["USER"] = "e2e-%d" % os.getpid()          # the single-instance pipe of this run
    env["XDG_CONFIG_HOME"] = os.path.join(work, "config")
    env["QV_SIP_USE_FILES"] = os.path.join(BIN, "sound", "ringback.wav")
    phone = subprocess.Popen([os.path.join(BIN, "veltophone")], cwd=work, env=env,
                             stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
    try:
        run(phone, work, env)
    except Exception as error:  # a control that never showed up, a tool that failed
        check(False, "the run went on to the end (%s)" % error)
    finally:
        if phone.poll() is None:
            phone.send_signal(signal.SIGTERM)
            try:
                phone.wait(10)
            except subprocess.TimeoutExpired:
                phone.kill()
        out = phone.stdout.read().decode(errors="replace") if phone.stdout else ""
        if out.strip():
            print("--- phone output ---\n" + out[-4000:])
        shutil.rmtree(work, ignore_errors=True)
    print("%d passed, %d failed" % (passed, len(failures)))
    return 1 if failures else 0


passed = 0


def step(ok, what):
    global passed
    if check(ok, what):
        passed += 1
    return ok


def run(phone, work, env):
    login = pd.wait_window("登录", LIMIT)
    if not step(login is not None, "the login window appears"):
        return
    app = pd.wait_app(phone.pid, LIMIT)
    step(app is not None, "the phone is on the accessibility bus")
    pd.settle()
    pd.screenshot(login, os.path.join(ART, "login-window.png"))
    login_geo = pd.geometry(login)

    # A second start for the same user ends at once, silently.
    t0 = time.time()
    second = subprocess.run([os.path.join(BIN, "veltophone")], cwd=work, env=env,
                            capture_output=True, timeout=LIMIT)
    step(second.returncode == 0 and time.time() - t0 < LIMIT, "a second start ends with code 0")
    step(second.stdout == b"" and second.stderr == b"", "a second start says nothing (%r)"
         % (second.stdout + second.stderr)[:200])
    step(len(pd.windows("登录")) == 1, "the second start shows no window")

    # Type the number and the password, tick "记住密码", press login.
    pd.type_into(app, login, "user", NUMBER)
    pd.type_into(app, login, "password", PASSWORD)
    pd.click_control(app, login, "check_pwd")
    pd.click_control(app, login, "login_btn")
    main_win = pd.wait_window("Velto网络电话", LIMIT)
    if not step(main_win is not None, "the main window appears after login"):
        return
    step(pd.wait(lambda: not pd.windows("登录"), LIMIT), "the login window closes")
    geo = pd.geometry(main_win)
    step(abs(geo[0] - login_geo[0]) <= 2 and abs(geo[1] - login_geo[1]) <= 2,
         "the main window sits at the login window's corner (%s vs %s)" % (geo[:2], login_geo[:2]))
    step(geo[2] == 300 and geo[3] == 550, "the main window is 300 x 550 (%s)" % (geo[2:],))
    shown = pd.wait(lambda: pd.control_text(app, "userNameLayout") == NUMBER + "正式用户", LIMIT)
    step(shown, "the main window shows the number and the subscriber kind (%r)"
         % pd.control_text(app, "userNameLayout"))
    step(pd.wait(lambda: registered_at_kamailio(NUMBER), LIMIT), "the account is registered at kamailio")
    config = open(os.path.join(work, "QVPhone", "config.conf"), "rb").read()
    step(config == b"user=13800000001,pwd=678901", "the settings file remembers number and password (%r)" % config)
    pd.settle()
    pd.screenshot(main_win, os.path.join(ART, "main-window.png"))

    # Dial a few keys with the keyboard, the way a user would.
    pd.focus(main_win)
    pd.keys("1", "3", "8", "BackSpace", "9")
    step(pd.wait(lambda: pd.control_text(app, "input_phoneText") == "139", LIMIT),
         "keys reach the dial pad (%r)" % pd.control_text(app, "input_phoneText"))
    pd.screenshot(main_win, os.path.join(ART, "main-window-dialing.png"))

    # Change of user: back to a login window with the number remembered.
    pd.click_control(app, main_win, "changUserBtn")
    login2 = pd.wait_window("登录", LIMIT)
    step(login2 is not None, "change of user shows the login window again")
    step(pd.wait(lambda: not pd.windows("Velto网络电话"), LIMIT), "the main window closes at the change of user")
    step(pd.wait(lambda: not registered_at_kamailio(NUMBER), LIMIT), "the account is removed at the change of user")
    if login2 is None:
        return
    step(pd.control_text(app, "user") == NUMBER, "the new login window shows the remembered number")

    # Log in again without typing: the remembered password is used.
    pd.click_control(app, login2, "login_btn")
    main2 = pd.wait_window("Velto网络电话", LIMIT)
    step(main2 is not None, "the remembered password logs in again")
    # Disabled: after RemoveSipAccount the SIP adapter's next registration of
    # the same number does not reach the server's location table (kamailio
    # shows no contact, the engine reports its account not registered a few
    # seconds later). Turn this on again once the adapter re-registers.
    step(pd.wait(lambda: registered_at_kamailio(NUMBER), LIMIT), "the account is registered again")
    if main2 is None:
        return

    # Exit through the tray menu: "退出", then Yes.
    menu_ok = pd.tray_menu_choose("退出", 2, 3, LIMIT)
    step(menu_ok, "the tray menu opens and 退出 is chosen")
    pd.settle()
    box = pd.wait_window("提示", LIMIT)
    if box is not None:
        pd.screenshot(box, os.path.join(ART, "exit-question.png"))
    step(pd.answer_message_box("提示", "Return", LIMIT), "the exit question is answered Yes")
    try:
        code = phone.wait(LIMIT)
    except subprocess.TimeoutExpired:
        code = None
    step(code == 0, "the phone ends with code 0 after 退出 (%r)" % code)

    # SIGTERM: the user-interface loop shuts the engine down and ends.
    again = subprocess.Popen([os.path.join(BIN, "veltophone")], cwd=work, env=env,
                             stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if step(pd.wait_window("登录", LIMIT) is not None, "the phone starts again after 退出"):
        again.send_signal(signal.SIGTERM)
    try:
        code = again.wait(LIMIT)
    except subprocess.TimeoutExpired:
        again.kill()
        code = None
    step(code == 0, "SIGTERM ends the phone with code 0 (%r)" % code)


if __name__ == "__main__":
    sys.exit(main())
