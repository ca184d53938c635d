#!/usr/bin/python3
"""The web remote in a real browser: headless Chromium driven by Selenium against
vexlor on its built-in simulator. Usage: browser_test.py VEXLOR [SCREENSHOT.png]"""
import os
import re
import shutil
import socket
import subprocess
import sys
import tempfile
import time

try:
    from selenium import webdriver
    from selenium.webdriver.chrome.service import Service
    from selenium.webdriver.common.by import By
    from selenium.webdriver.support.ui import WebDriverWait
except ImportError:
    print("SKIP: python3-selenium is not installed (tools/install-deps.sh installs it)")
    sys.exit(77)

for tool in ("/usr/bin/chromium", "/usr/bin/chromedriver"):
    if not os.path.exists(tool):
        print("SKIP: %s is missing (tools/install-deps.sh installs chromium and chromium-driver)" % tool)
        sys.exit(77)

vexlor = sys.argv[1]
shot = sys.argv[2] if len(sys.argv) > 2 else None
data = tempfile.mkdtemp(prefix="vexlor-web-")
with socket.socket() as s:
    s.bind(("127.0.0.1", 0))
    port = s.getsockname()[1]
with open(os.path.join(data, "qorvanix.ini"), "wb") as f:
    f.write(b"[UserName]=Browser\r\n[comm port]=1\r\n[RemotePassword]=night owl\r\n")
trace = os.path.join(data, "trace.txt")
env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
program = subprocess.Popen([vexlor, "--simulate", "--fast", "--data-dir", data, "--trace", trace,
                            "--web", "127.0.0.1:%d" % port], stdout=subprocess.PIPE, stderr=subprocess.STDOUT, env=env)
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what)
    if not ok:
        failures.append(what)


def sent():
    """The lines Vexlor has sent the receiver so far, from its trace."""
    try:
        with open(trace, encoding="latin-1") as f:
            return [m.group(1) for m in re.finditer(r" out (.*?)\\r", f.read())]
    except FileNotFoundError:
        return []


url = "http://127.0.0.1:%d/" % port
deadline = time.time() + 30
while time.time() < deadline:
    try:
        socket.create_connection(("127.0.0.1", port), 1).close()
        break
    except OSError:
        time.sleep(0.2)
else:
    program.kill()
    print(program.stdout.read().decode(errors="replace"))
    sys.exit("vexlor did not open the web remote")

options = webdriver.ChromeOptions()
for a in ("--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
          "--disable-background-networking", "--disable-component-update", "--disable-sync",
          "--user-data-dir=" + tempfile.mkdtemp(prefix="vexlor-chromium-")):
    options.add_argument(a)
options.binary_location = "/usr/bin/chromium"
browser = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
wait = WebDriverWait(browser, 20)
try:
    browser.set_window_size(360, 640)
    browser.get(url)
    wait.until(lambda b: b.find_element(By.ID, "login").is_displayed())

    before = len(sent())
    browser.find_element(By.ID, "phrase").send_keys("guess")
    browser.find_element(By.CSS_SELECTOR, "#login-form button").click()
    wait.until(lambda b: b.find_element(By.ID, "login-error").text)
    check(browser.find_element(By.ID, "login-error").text == "Wrong pass phrase.", "a wrong pass phrase is refused")
    time.sleep(1)
    keys = [line for line in sent()[before:] if line.startswith("KEY")]
    check(not keys, "and nothing reaches the receiver")

    browser.find_element(By.ID, "phrase").send_keys("night owl")
    browser.find_element(By.CSS_SELECTOR, "#login-form button").click()
    wait.until(lambda b: b.find_element(By.ID, "link").text == "Live")
    check(not browser.find_element(By.ID, "login").is_displayed(), "the right one logs in")

    first = browser.find_element(By.ID, "frequency").text
    changed = WebDriverWait(browser, 30).until(lambda b: b.find_element(By.ID, "frequency").text not in ("", first))
    check(bool(changed), "the frequency follows the simulator (%s, then %s)" % (first, browser.find_element(By.ID, "frequency").text))

    before = len(sent())
    scan = [b for b in browser.find_elements(By.CSS_SELECTOR, "#modes button") if b.text == "SCAN"][0]
    scan.click()
    WebDriverWait(browser, 10).until(lambda b: "KEY00" in sent()[before:])
    check(True, "a key pressed on the page reaches the receiver")

    browser.find_element(By.ID, "chat-in").send_keys("hello from the phone")
    browser.find_element(By.CSS_SELECTOR, "#chat-form button").click()
    wait.until(lambda b: "hello from the phone" in b.find_element(By.ID, "chat-log").text)
    check(True, "a chat line is sent")

    width = browser.execute_script("return document.documentElement.scrollWidth")
    inner = browser.execute_script("return window.innerWidth")
    check(width <= inner, "no horizontal scroll at 360 px (%d of %d)" % (width, inner))
    # The refused login's 401 answers are logged as network errors; a script error is a fault.
    errors = [e for e in browser.get_log("browser") if e["level"] == "SEVERE" and e.get("source") != "network"]
    check(not errors, "no script errors in the browser's console %s" % errors)
    if shot:
        WebDriverWait(browser, 15).until(lambda b: b.find_elements(By.CSS_SELECTOR, "#hits tr"))
        browser.execute_script("window.scrollTo(0, 0)")
        browser.save_screenshot(shot)
finally:
    browser.quit()
    program.terminate()
    try:
        program.wait(20)
    except subprocess.TimeoutExpired:
        program.kill()
    shutil.rmtree(data, ignore_errors=True)

sys.exit(1 if failures else 0)
