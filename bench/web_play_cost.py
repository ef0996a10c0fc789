#!/usr/bin/python3
"""The page's cost of play beside a plain page's, measured the same way in one run.

Usage: bench/web_play_cost.py [WEB_DIR] [SECONDS]

Serves WEB_DIR (default build/web) and bench/plain_canvas.html, opens each in its own headless
Chromium (the one scripts/web-check drives), takes the game from the title into scene 1 with the
arrow keys held, and measures over the same window the processor time of the page's main thread
(its renderer process's main thread) and of every process of its Chromium, with the ratios.
"""
import importlib.machinery
import importlib.util
import os
import shutil
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
_loader = importlib.machinery.SourceFileLoader("web_check", os.path.join(HERE, "..", "scripts", "web-check"))
_spec = importlib.util.spec_from_loader("web_check", _loader)
web_check = importlib.util.module_from_spec(_spec)
_loader.exec_module(web_check)

# Down and left: the robot waits in a corner the dozer, heading down and right, never reaches.
ARROWS = [{"key": "ArrowDown", "code": "ArrowDown", "windowsVirtualKeyCode": 40},
          {"key": "ArrowLeft", "code": "ArrowLeft", "windowsVirtualKeyCode": 37}]


def press(page, fields, down):
    page.call("Input.dispatchKeyEvent", type="keyDown" if down else "keyUp",
              nativeVirtualKeyCode=fields["windowsVirtualKeyCode"], **fields)


def descendants(root):
    """The process ids under `root`, itself included."""
    children = {}
    for name in os.listdir("/proc"):
        if name.isdigit():
            try:
                parent = int(open(f"/proc/{name}/stat").read().rsplit(")", 1)[1].split()[1])
            except OSError:
                continue
            children.setdefault(parent, []).append(int(name))
    found, todo = [], [root]
    while todo:
        pid = todo.pop()
        found.append(pid)
        todo.extend(children.get(pid, []))
    return found


def thread_seconds(pid, tid):
    """Processor seconds (user and system) one thread has used so far; 0 once it is gone."""
    try:
        fields = open(f"/proc/{pid}/task/{tid}/stat").read().rsplit(")", 1)[1].split()
    except OSError:
        return 0
    return (int(fields[11]) + int(fields[12])) / os.sysconf("SC_CLK_TCK")


def renderer_main_threads(browser_pid):
    """The main thread of each renderer process of a browser, where a page's scripts run."""
    renderers = []
    for pid in descendants(browser_pid):
        try:
            if b"--type=renderer" in open(f"/proc/{pid}/cmdline", "rb").read():
                renderers.append(pid)
        except OSError:
            pass
    return renderers


def main_threads_seconds(browser_pid):
    """Processor seconds used so far by the main thread of each renderer process, by its pid."""
    return {pid: thread_seconds(pid, pid) for pid in renderer_main_threads(browser_pid)}


def open_page(work, name, url):
    profile = os.path.join(work, name)
    os.makedirs(profile)
    process, page = web_check.start_chromium(profile)
    page.call("Page.enable")
    page.call("Performance.enable")
    page.call("Page.navigate", url=url)
    return process, page


def drive_game_into_play(page):
    """Space once the title's prompts are over, then the arrows held in scene 1."""
    page.wait_for("typeof Module !== 'undefined' && (Module.vorkFramesShown || 0) > 0", 60, "the game's first frame")
    time.sleep(7)
    page.key("SPACE", True)
    time.sleep(0.2)
    page.key("SPACE", False)
    time.sleep(5)
    for arrow in ARROWS:
        press(page, arrow, True)
    time.sleep(1)


def measure(pages, span):
    """For each (page, browser pid): main-thread and all-process processor seconds over `span`.
    The page's main thread is the renderer main thread that worked the most over the window."""
    before = [(main_threads_seconds(pid), web_check.process_tree_cpu_seconds(pid)) for _, pid in pages]
    time.sleep(span)
    after = [(main_threads_seconds(pid), web_check.process_tree_cpu_seconds(pid)) for _, pid in pages]
    return [(max((used - b[0].get(pid, 0) for pid, used in a[0].items()), default=0), a[1] - b[1])
            for a, b in zip(after, before)]


def main():
    web_dir = sys.argv[1] if len(sys.argv) > 1 else "build/web"
    span = float(sys.argv[2]) if len(sys.argv) > 2 else 8
    site = tempfile.mkdtemp(prefix="vork-web-cost-")
    work = tempfile.mkdtemp(prefix="vork-web-cost-profiles-")
    shutil.copytree(web_dir, os.path.join(site, "game"))
    shutil.copy(os.path.join(HERE, "plain_canvas.html"), site)
    server = web_check.serve(site)
    base = f"http://127.0.0.1:{server.server_address[1]}"
    browsers = []
    try:
        game_process, game = open_page(work, "game", f"{base}/game/index.html")
        browsers.append(game_process)
        plain_process, plain = open_page(work, "plain", f"{base}/plain_canvas.html")
        browsers.append(plain_process)
        drive_game_into_play(game)
        frames_before = game.eval("Module.vorkFramesShown"), plain.eval("window.framesShown")
        (game_main, game_all), (plain_main, plain_all) = measure(
            [(game, game_process.pid), (plain, plain_process.pid)], span)
        frames_after = game.eval("Module.vorkFramesShown"), plain.eval("window.framesShown")
        for arrow in ARROWS:
            press(game, arrow, False)
        for name, main_thread, everything, shown in (
                ("game", game_main, game_all, frames_after[0] - frames_before[0]),
                ("plain", plain_main, plain_all, frames_after[1] - frames_before[1])):
            print(f"{name}:  main thread {100 * main_thread / span:.1f}% of a core, all of Chromium "
                  f"{100 * everything / span:.1f}%, {shown / span:.1f} frames a second")
        print(f"ratio: main thread {game_main / plain_main:.2f}, all of Chromium {game_all / plain_all:.2f}")
    finally:
        for process in browsers:
            process.terminate()
            try:
                process.wait(10)
            except Exception:
                process.kill()
        server.shutdown()
        shutil.rmtree(work, ignore_errors=True)
        shutil.rmtree(site, ignore_errors=True)


if __name__ == "__main__":
    main()
