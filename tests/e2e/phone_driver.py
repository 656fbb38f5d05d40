"""Acting on the phone's windows as a person would, under an X display:
windows by title and screenshots through xdotool and ImageMagick, controls
through the accessibility bus (the skin name of a control is its
accessible description), real mouse and keyboard input through xdotool."""
import subprocess
import time

try:
    import pyatspi
except ImportError:  # the accessibility bindings are a test dependency
    pyatspi = None


def wait(pred, limit, every=0.1):
    end = time.time() + limit
    while time.time() < end:
        try:
            if pred():
                return True
        except Exception:  # a window or control that is just going away
            pass
        time.sleep(every)
    return bool(pred())


def settle():
    """Lets a window finish painting before a screenshot."""
    time.sleep(0.5)


def xdo(*args):
    return subprocess.run(["xdotool", *args], capture_output=True, text=True).stdout


def windows(title):
    out = xdo("search", "--onlyvisible", "--name", "^%s$" % title)
    return [w for w in out.split() if w]


def wait_window(title, limit):
    found = []
    wait(lambda: found.extend(windows(title)) or bool(found), limit)
    return found[0] if found else None


def geometry(wid):
    values = {}
    for line in xdo("getwindowgeometry", "--shell", wid).splitlines():
        key, _, value = line.partition("=")
        values[key] = int(value) if value.lstrip("-").isdigit() else value
    return (values.get("X", 0), values.get("Y", 0), values.get("WIDTH", 0), values.get("HEIGHT", 0))


def screenshot(wid, path):
    subprocess.run(["import", "-window", wid, path], capture_output=True)


def focus(wid):
    xdo("windowactivate", "--sync", wid)
    x, y, w, h = geometry(wid)
    # Without a window manager keys go to the window under the pointer.
    xdo("mousemove", str(x + w // 2), str(y + 12))


def keys(*names):
    for name in names:
        xdo("key", "--delay", "40", name)
        time.sleep(0.05)


# ---- Accessibility ----

def wait_app(pid, limit):
    if pyatspi is None:
        return None
    found = []

    def look():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == pid:
                found.append(app)
                return True
        return False
    wait(look, limit, 0.2)
    return found[0] if found else None


def find(app, name):
    if app is None:
        return None
    stack = [app]
    while stack:
        node = stack.pop()
        try:
            if node.description == name or (node.name == name and node.childCount == 0):
                return node
            stack.extend(node[i] for i in range(node.childCount))
        except Exception:
            continue
    return None


def control_rect(app, name):
    node = find(app, name)
    if node is None:
        return None
    ext = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (ext.x, ext.y, ext.width, ext.height)


def control_text(app, name):
    node = find(app, name)
    if node is None:
        return None
    try:
        text = node.queryText()
        return text.getText(0, text.characterCount)
    except Exception:
        return node.name


def click_control(app, wid, name, limit=30):
    found = []
    wait(lambda: found.append(control_rect(app, name)) or found[-1] is not None, limit, 0.2)
    rect = found[-1] if found else None
    if rect is None:
        raise RuntimeError("no control %s on the accessibility bus" % name)
    x, y, w, h = rect
    xdo("mousemove", "--sync", str(x + w // 2), str(y + h // 2))
    time.sleep(0.05)
    xdo("click", "1")
    time.sleep(0.1)


def type_into(app, wid, name, text):
    click_control(app, wid, name)
    xdo("type", "--delay", "40", text)
    time.sleep(0.1)


# ---- Tray and message boxes ----

def tray_icon():
    """The screen centre of the phone's icon in the tray (trayer's area)."""
    for wid in xdo("search", "--maxdepth", "10", "--class", "veltophone").split():
        x, y, w, h = geometry(wid)
        if 0 < w <= 64 and 0 < h <= 64:
            return x + w // 2, y + h // 2
    trays = [w for w in xdo("search", "--class", "trayer").split() if geometry(w)[2] > 20]
    if not trays:
        return None
    x, y, w, h = geometry(trays[-1])
    return x + w - 12, y + h // 2


def tray_menu_choose(item, index, count, limit):
    """Right-clicks the phone's icon in the tray and chooses item `index`
    (of `count`) of the menu that opens, by its text on the accessibility
    bus when the menu is there, else by its place in the menu window."""
    icon = tray_icon()
    if icon is None:
        return False
    before = set(xdo("search", "--onlyvisible", "--class", "veltophone").split())
    xdo("mousemove", "--sync", str(icon[0]), str(icon[1]))
    xdo("click", "3")
    menu = []

    def menu_window():
        for wid in xdo("search", "--onlyvisible", "--class", "veltophone").split():
            if wid not in before:
                x, y, w, h = geometry(wid)
                if 0 < h <= 40 * count + 20:
                    menu.append((x, y, w, h))
                    return True
        return False
    if not wait(menu_window, limit, 0.2):
        return False
    node = None
    if pyatspi is not None:
        for app in pyatspi.Registry.getDesktop(0):
            node = _find_role_name(app, pyatspi.ROLE_MENU_ITEM, item)
            if node is not None:
                break
    if node is not None:
        ext = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        x, y = ext.x + ext.width // 2, ext.y + ext.height // 2
    else:
        mx, my, mw, mh = menu[0]
        x, y = mx + mw // 2, my + int(mh * (2 * index + 1) / (2 * count))
    xdo("mousemove", "--sync", str(x), str(y))
    time.sleep(0.2)
    xdo("click", "1")
    return True


def _find_role_name(root, role, name):
    stack = [root]
    while stack:
        node = stack.pop()
        try:
            if node.getRole() == role and node.name == name:
                return node
            stack.extend(node[i] for i in range(node.childCount))
        except Exception:
            continue
    return None


def answer_message_box(caption, key, limit):
    """Answers the message box with that caption from the keyboard
    ("Return" presses its default button)."""
    box = wait_window(caption, limit)
    if box is None:
        return False
    x, y, w, h = geometry(box)
    xdo("mousemove", "--sync", str(x + w // 2), str(y + h // 2))
    xdo("windowfocus", "--sync", box)
    time.sleep(0.2)
    xdo("key", key)
    return True
