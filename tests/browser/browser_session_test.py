#!/usr/bin/env python3
"""A session by hand in a real browser, recorded and played back.

Starts `vantile-sim serve` and Debian's headless Chromium on 127.0.0.1, and through the page, with the mouse and the
keyboard as a person would: switches the add-on on in the preferences table and resprings, taps the gear, drags the
Wi-Fi card into "Selected Cells", reads the stored list back from the panel, types into the search field, switches
to dark mode, then saves the recording and the screenshot with the page's own buttons. The recording is played with
`vantile-sim run`; its last screen must be the served one, pixel for pixel. On the way it measures the browser round
trip, from a pointer event in the page to the changed frame drawn on the canvas, and prints its p95.

Selenium with chromedriver (both Debian packages) drives the browser: it dispatches real input events through the
browser, and downloads and scripts in the page come with it, where the DevTools protocol spoken directly would need
a WebSocket client and its own event plumbing written here.
"""

import argparse
import base64
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import traceback

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.action_chains import ActionChains
    from selenium.webdriver.common.actions.action_builder import ActionBuilder
    from selenium.webdriver.support.ui import Select
except ImportError:  # A missing package fails the test: it is never skipped.
    sys.exit("browser test: python3-selenium is missing; scripts/install-deps installs it")

CHROMIUM = "/usr/bin/chromium"
CHROMEDRIVER = "/usr/bin/chromedriver"
PROFILE = "iphone-x"

# Where things are on the iphone-x screen, in points, as the phone lays them out on a first run with the add-on on:
# the gear and the search field of the dashboard's navigation bar, the editor's done button, the reorder handle of
# the Wi-Fi row under "Available Cells", and the slot just below the "Selected Cells" heading while that section is
# empty.
GEAR = (17, 65)
SEARCH_FIELD = (150, 114)
EDITOR_DONE = (340, 92)
WIFI_HANDLE = (355, 600)
SELECTED_SLOT = (355, 166)
DRAG_MOVES = 100


class Failure(Exception):
    pass


# When each stage of the session was reached, in seconds from the start; printed with the result, so that a slow or
# failing run shows where its time went.
STARTED = time.monotonic()
TIMELINE = []


def reached(stage):
    TIMELINE.append(f"{time.monotonic() - STARTED:5.1f} s  {stage}")


def free_port():
    with socket.socket(socket.AF_INET, socket.SOCK_STREAM) as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_until(what, condition, timeout=10.0, interval=0.05):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise Failure(f"timed out waiting for {what}")
        time.sleep(interval)


class Server:
    """`vantile-sim serve` on a free port of 127.0.0.1, its output kept for the failure report."""

    def __init__(self, sim, root, log_path):
        self.port = free_port()
        self.log_path = log_path
        self.log = open(log_path, "wb")
        self.process = subprocess.Popen(
            [sim, "serve", "--root", root, "--port", str(self.port), "--profile", PROFILE],
            stdout=self.log, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        self.url = f"http://127.0.0.1:{self.port}/"
        wait_until("the server to print its address", self._announced, timeout=15)

    def _announced(self):
        if self.process.poll() is not None:
            raise Failure(f"vantile-sim serve exited with {self.process.returncode}:\n{self.output()}")
        return f"127.0.0.1:{self.port}" in self.output()

    def output(self):
        with open(self.log_path, "rb") as f:
            return f.read().decode("utf-8", "replace")

    def stop(self):
        """Stops the server as Ctrl-C does; its exit status must be 0."""
        if self.process.poll() is None:
            self.process.send_signal(signal.SIGINT)
            try:
                self.process.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.process.kill()
                self.process.wait()
                raise Failure("vantile-sim serve did not stop within 10 s of SIGINT")
        self.log.close()
        return self.process.returncode


def start_browser(profile_dir, downloads):
    options = webdriver.ChromeOptions()
    options.binary_location = CHROMIUM
    # Without the background-networking switches Chromium keeps trying hosts that a machine without a network
    # refuses; the window is a desktop size, so that the page lays the panel out beside the phone.
    for argument in ["--headless=new", "--disable-gpu", "--disable-quic", "--no-first-run",
                     "--disable-background-networking", "--disable-component-update", "--disable-sync",
                     "--disable-extensions", "--window-size=1280,900", f"--user-data-dir={profile_dir}"]:
        options.add_argument(argument)
    if os.geteuid() == 0:
        options.add_argument("--no-sandbox")
    driver = webdriver.Chrome(service=Service(CHROMEDRIVER), options=options)
    driver.execute_cdp_cmd("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": downloads})
    return driver


class Page:
    """The served page, driven with the mouse and the keyboard."""

    def __init__(self, driver):
        self.driver = driver

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def frames_drawn(self):
        return self.js("return window.vantile ? window.vantile.framesDrawn : 0")

    def settle(self, quiet=0.6, timeout=10.0):
        """Waits until no frame has been drawn for `quiet` seconds: the phone's screen is at rest."""
        deadline = time.monotonic() + timeout
        last, since = self.frames_drawn(), time.monotonic()
        while time.monotonic() - since < quiet:
            if time.monotonic() > deadline:
                raise Failure("the screen never came to rest")
            time.sleep(0.05)
            now = self.frames_drawn()
            if now != last:
                last, since = now, time.monotonic()

    def viewport(self, point):
        """A point of the phone's screen in the browser's viewport pixels."""
        rect = self.js("const r = document.getElementById('screen').getBoundingClientRect();"
                       "return [r.left, r.top, r.width, r.height, window.vantile.device.width,"
                       "        window.vantile.device.height];")
        left, top, width, height, points_wide, points_high = rect
        return (left + point[0] * width / points_wide, top + point[1] * height / points_high)

    def tap(self, point):
        x, y = self.viewport(point)
        builder = ActionBuilder(self.driver, duration=0)
        builder.pointer_action.move_to_location(x, y).pointer_down().pause(0.08).pointer_up()
        builder.perform()

    def drag(self, start, end, moves, step_seconds):
        x0, y0 = self.viewport(start)
        x1, y1 = self.viewport(end)
        builder = ActionBuilder(self.driver, duration=0)
        pointer = builder.pointer_action
        pointer.move_to_location(x0, y0).pointer_down().pause(0.15)
        for i in range(1, moves + 1):
            f = i / moves
            pointer.move_to_location(x0 + (x1 - x0) * f, y0 + (y1 - y0) * f).pause(step_seconds)
        pointer.pause(0.2).pointer_up()
        builder.perform()

    def pref(self, key):
        """The value the panel's preference table shows for a key, as the page read it from the phone."""
        return self.js("const row = document.querySelector(`#prefs tr[data-key='${arguments[0]}']`);"
                       "if (!row) return null;"
                       "const editor = row.cells[2].firstChild;"
                       "return editor.type === 'checkbox' ? editor.checked : editor.value;", key)


def wait_for_download(folder, suffix, timeout=10.0):
    """The downloaded file with that suffix, once complete: the server's attachment name may differ from the link's."""
    def complete():
        names = os.listdir(folder)
        if any(name.endswith(".crdownload") for name in names):
            return None
        found = [name for name in names if name.endswith(suffix)]
        return os.path.join(folder, found[0]) if found else None
    path = wait_until(f"a downloaded {suffix} file", complete, timeout)
    wait_until(f"{path} to be written", lambda: os.path.getsize(path) > 0, timeout)
    return path


DECODE_IN_PAGE = """
    const decode = async (b64) => {
      const bytes = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
      const bitmap = await createImageBitmap(new Blob([bytes], {type: 'image/png'}),
                                             {colorSpaceConversion: 'none', premultiplyAlpha: 'none'});
      const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
      const context = canvas.getContext('2d');
      context.drawImage(bitmap, 0, 0);
      return context.getImageData(0, 0, bitmap.width, bitmap.height);
    };
"""


def file_base64(path):
    with open(path, "rb") as f:
        return base64.b64encode(f.read()).decode("ascii")


def mean_brightness(page, path):
    """The mean of the red, green and blue values of a PNG's pixels, decoded by the browser."""
    return page.driver.execute_async_script(DECODE_IN_PAGE + """
        const done = arguments[arguments.length - 1];
        decode(arguments[0]).then((image) => {
          let sum = 0;
          for (let i = 0; i < image.data.length; i += 4) sum += image.data[i] + image.data[i + 1] + image.data[i + 2];
          done(sum / (3 * image.width * image.height));
        }, (error) => done(`not decodable: ${error}`));
    """, file_base64(path))


def compare_pngs(page, first, second):
    """Decodes both PNGs in the browser and counts the pixels that differ; None when equal."""
    return page.driver.execute_async_script(DECODE_IN_PAGE + """
        const done = arguments[arguments.length - 1];
        Promise.all([decode(arguments[0]), decode(arguments[1])]).then(([a, b]) => {
          if (a.width !== b.width || a.height !== b.height) {
            done(`sizes differ: ${a.width}x${a.height} and ${b.width}x${b.height}`);
            return;
          }
          let count = 0, x0 = a.width, y0 = a.height, x1 = -1, y1 = -1;
          for (let i = 0; i < a.data.length; i += 4) {
            if (a.data[i] !== b.data[i] || a.data[i + 1] !== b.data[i + 1] || a.data[i + 2] !== b.data[i + 2] ||
                a.data[i + 3] !== b.data[i + 3]) {
              const p = i / 4, x = p % a.width, y = Math.floor(p / a.width);
              count += 1; x0 = Math.min(x0, x); y0 = Math.min(y0, y); x1 = Math.max(x1, x); y1 = Math.max(y1, y);
            }
          }
          done(count ? `${count} pixels differ, within x ${x0}..${x1}, y ${y0}..${y1}` : null);
        }, (error) => done(`not decodable: ${error}`));
    """, file_base64(first), file_base64(second))


def percentile(values, fraction):
    ordered = sorted(values)
    return ordered[min(len(ordered) - 1, int(round(fraction * (len(ordered) - 1))))]


def run_session(sim, work):
    root = os.path.join(work, "root")
    downloads = os.path.join(work, "downloads")
    os.makedirs(downloads)
    server = Server(sim, root, os.path.join(work, "serve.log"))
    driver = None
    try:
        reached("server up")
        driver = start_browser(os.path.join(work, "chromium"), downloads)
        reached("browser up")
        page = Page(driver)
        driver.get(server.url)
        wait_until("the phone's first frame", lambda: page.frames_drawn() > 0, timeout=15)
        reached("first frame")
        device = page.js("return window.vantile.device")
        if device["name"] != PROFILE:
            raise Failure(f"the page shows {device['name']}, not {PROFILE}")
        page.settle()
        reached("first frame, at rest")

        # The add-on's master switch, through the preferences table, then a respring from the panel.
        driver.find_element("id", "new-key").send_keys("toggleVantile")
        Select(driver.find_element("id", "new-type")).select_by_value("bool")
        driver.find_element("id", "new-value").send_keys("yes")
        driver.find_element("id", "add-pref").click()
        wait_until("toggleVantile in the panel", lambda: page.pref("toggleVantile") is True)
        hellos = page.js("return window.vantile.hellos")
        driver.find_element("id", "respring").click()
        wait_until("the next boot's hello", lambda: page.js("return window.vantile.hellos") > hellos, timeout=15)
        page.settle()
        reached("respring done")

        page.tap(GEAR)
        wait_until("the gear's haptic in the records",
                   lambda: page.js("return window.vantile.records.some((r) => r.kind === 'haptic')"))
        page.settle()
        reached("editor open")

        # The page times each of the drag's pointer events to the frame that answers it: the browser round trip.
        page.js("window.vantile.latencies.length = 0; window.vantile.drawTimes.length = 0")
        page.drag(WIFI_HANDLE, SELECTED_SLOT, DRAG_MOVES, 0.04)
        latencies = page.js("return [window.vantile.latencies.slice(), window.vantile.drawTimes.slice()]")
        reached("drag done")
        wait_until("Wi-Fi in the stored list shown by the panel",
                   lambda: '"Wi-Fi"' in (page.pref("vantileEnabledArray") or ""))
        selected = page.pref("vantileEnabledArray")
        if selected.replace(" ", "") != '["Wi-Fi"]':
            raise Failure(f"the stored list is {selected}, not just Wi-Fi")
        page.settle()
        reached("stored list checked")

        page.tap(EDITOR_DONE)
        page.settle(quiet=0.8)
        # On a loaded machine the page can see no frame for a while in the middle of the editor's dismissal and the
        # tap then lands on the sheet, so the test types only once the phone says a field is being edited.
        for attempt in range(3):
            page.tap(SEARCH_FIELD)
            try:
                wait_until("the search field to be edited", lambda: page.js("return window.vantile.state.editing"),
                           timeout=5.0)
                break
            except Failure:
                if attempt == 2:
                    raise
                page.settle(quiet=1.5)
        page.settle()
        ActionChains(driver).send_keys("Blu").perform()
        page.settle()
        reached("typed")
        Select(driver.find_element("id", "appearance")).select_by_value("dark")
        wait_until("dark mode in the state", lambda: page.js("return window.vantile.state.appearance") == "dark")
        page.settle(quiet=0.8)
        reached("dark")

        # The clock stands still from here, so that the recording's end and the screenshot are one moment.
        driver.find_element("id", "pause").click()
        wait_until("the clock to pause", lambda: page.js("return window.vantile.state.paused"))
        driver.find_element("id", "save-recording").click()
        recording = wait_for_download(downloads, ".scenario")
        driver.find_element("id", "save-screenshot").click()
        served = wait_for_download(downloads, ".png")
        reached("saved")
        errors = page.js("return document.getElementById('error').hidden ? '' :"
                         "document.getElementById('error').textContent")
        if errors:
            raise Failure(f"the page shows an error: {errors}")

        # The served screen must be in dark mode: a dark screen is mostly black, a light one mostly white or grey.
        brightness = mean_brightness(page, served)
        if isinstance(brightness, str):
            raise Failure(f"the served screenshot is {brightness}")
        if brightness > 100:
            raise Failure(f"the served screen is not in dark mode (mean brightness {brightness:.0f} of 255)")
        replay = replay_recording(sim, recording, work)
        reached("replayed")
        difference = compare_pngs(page, served, replay)
        reached("compared")
        if difference:
            raise Failure(f"the replayed screen differs from the served one: {difference}")
        return latencies
    finally:
        if driver is not None:
            driver.quit()
        status = server.stop()
        if status != 0:
            raise Failure(f"vantile-sim serve exited with {status} after SIGINT:\n{server.output()}")


def replay_recording(sim, recording, work):
    scenario = os.path.join(work, "replay.scenario")
    with open(recording, encoding="utf-8") as f:
        lines = f.read()
    for needed in ("launch settings", "pref toggleVantile bool", "respring", "touch down", "touch up", "type ",
                   "appearance dark"):
        if needed not in lines:
            raise Failure(f"the recording has no line with {needed!r}:\n{lines}")
    with open(scenario, "w", encoding="utf-8") as f:
        # The recording ends with a wait up to the moment it was taken, when the clock stood still.
        f.write(lines.rstrip("\n") + "\nscreenshot final\n")
    out = os.path.join(work, "replay-out")
    result = subprocess.run([sim, "run", scenario, "--out", out], capture_output=True, text=True, timeout=60)
    if result.returncode != 0:
        raise Failure(f"vantile-sim run of the recording exited with {result.returncode}:\n"
                      f"{result.stdout}{result.stderr}\n--- recording ---\n{lines}")
    return os.path.join(out, "final.png")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--sim", required=True, help="the vantile-sim executable")
    parser.add_argument("--keep", help="copy the session's files (logs, downloads, replay) here")
    arguments = parser.parse_args()
    for program in (CHROMIUM, CHROMEDRIVER):
        if not os.access(program, os.X_OK):
            sys.exit(f"browser test: {program} is missing; scripts/install-deps installs chromium and "
                     "chromium-driver")

    work = tempfile.mkdtemp(prefix="vantile-browser-")
    try:
        latencies, draw_times = run_session(arguments.sim, work)
        # Every step of the drag moves the row, so each is answered by a frame. On a loaded machine the next step can
        # be sent before that frame arrives, and one frame then answers both; most steps must still have their own.
        if len(latencies) < DRAG_MOVES // 2:
            raise Failure(f"only {len(latencies)} of the drag's {DRAG_MOVES} steps were followed by a frame")
        print("\n".join(TIMELINE))
        print(f"browser round trip, pointer event to frame drawn: p50 {percentile(latencies, 0.5):.1f} ms, "
              f"p95 {percentile(latencies, 0.95):.1f} ms over {len(latencies)} pointer events of a drag; in the page "
              f"(frame arrived to drawn, over {len(draw_times)} frames): p50 {percentile(draw_times, 0.5):.1f} ms, p95 {percentile(draw_times, 0.95):.1f} ms")
        return 0
    except Exception as error:  # Everything the session left is kept for the report.
        if not isinstance(error, Failure):
            traceback.print_exc()
        print("\n".join(TIMELINE), file=sys.stderr)
        print(f"browser test failed: {error}", file=sys.stderr)
        log = os.path.join(work, "serve.log")
        if os.path.exists(log):
            with open(log, encoding="utf-8", errors="replace") as f:
                print("--- vantile-sim serve ---\n" + f.read()[-4000:], file=sys.stderr)
        print(f"the session's files are in {work}", file=sys.stderr)
        work = None
        return 1
    finally:
        if work and arguments.keep:
            shutil.copytree(work, arguments.keep, dirs_exist_ok=True)
        if work:
            shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    sys.exit(main())
