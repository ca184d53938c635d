#!/usr/bin/python3
"""From a state message reaching the web remote's page to the page showing it, in
headless Chromium: p50 and p95 over 200 frequency changes. Run by hand:
    /usr/bin/python3 bench/web_browser_latency.py build/release/bin/vexlor
The clock starts when the WebSocket message arrives, before the page's own
handler, and stops after the next frame is drawn, if the frequency shown is
the one the message carried."""
import http.client
import json
import os
import shutil
import socket
import statistics
import subprocess
import sys
import tempfile
import time

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.support.ui import WebDriverWait

CHANGES = 200

# Runs before the page's script: every WebSocket it opens times its state messages.
PROBE = """
(() => {
  const Native = window.WebSocket;
  window.__latency = [];
  window.WebSocket = function (url, protocols) {
    const ws = protocols === undefined ? new Native(url) : new Native(url, protocols);
    ws.addEventListener('message', (e) => {
      const arrived = performance.now();
      const m = JSON.parse(e.data);
      if (m.type !== 'state' || !m.data || m.data.frequency === undefined) return;
      requestAnimationFrame(() => setTimeout(() => {
        const shown = document.getElementById('frequency').textContent.trim();
        window.__latency.push({ ms: performance.now() - arrived, shown: shown, sent: m.data.frequency });
      }, 0));
    });
    return ws;
  };
  window.WebSocket.prototype = Native.prototype;
  Object.assign(window.WebSocket, { CONNECTING: 0, OPEN: 1, CLOSING: 2, CLOSED: 3 });
})();
"""


def main():
    vexlor = sys.argv[1]
    data = tempfile.mkdtemp(prefix="vexlor-bench-")
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        port = s.getsockname()[1]
    with open(os.path.join(data, "qorvanix.ini"), "wb") as f:
        f.write(b"[UserName]=Bench\r\n[comm port]=1\r\n[RemotePassword]=night owl\r\n")
    env = dict(os.environ, QT_QPA_PLATFORM="offscreen")
    program = subprocess.Popen([vexlor, "--simulate", "--fast", "--data-dir", data, "--web", "127.0.0.1:%d" % port],
                               stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, env=env)
    options = webdriver.ChromeOptions()
    for a in ("--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
              "--user-data-dir=" + tempfile.mkdtemp(prefix="vexlor-chromium-")):
        options.add_argument(a)
    options.binary_location = "/usr/bin/chromium"
    browser = None
    try:
        deadline = time.time() + 30
        while True:
            try:
                socket.create_connection(("127.0.0.1", port), 1).close()
                break
            except OSError:
                if time.time() > deadline:
                    sys.exit("vexlor did not open the web remote")
                time.sleep(0.2)
        browser = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
        browser.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": PROBE})
        browser.get("http://127.0.0.1:%d/" % port)
        wait = WebDriverWait(browser, 20)
        wait.until(lambda b: b.find_element(By.ID, "login").is_displayed())
        browser.find_element(By.ID, "phrase").send_keys("night owl")
        browser.find_element(By.CSS_SELECTOR, "#login-form button").click()
        wait.until(lambda b: b.find_element(By.ID, "link").text == "Live")
        cookie = "vexlor_session=" + browser.get_cookie("vexlor_session")["value"]
        api = http.client.HTTPConnection("127.0.0.1", port, timeout=5)
        for i in range(CHANGES):
            body = json.dumps({"frequency": "154.4300" if i % 2 else "460.1250"})
            api.request("POST", "/api/frequency", body, {"Content-Type": "application/json", "Cookie": cookie})
            answer = api.getresponse()
            answer.read()
            if answer.status != 200:
                sys.exit("the frequency was refused: %d" % answer.status)
            time.sleep(0.15)
        time.sleep(1)
        samples = browser.execute_script("return window.__latency")
    finally:
        if browser:
            browser.quit()
        program.terminate()
        program.wait(20)
        shutil.rmtree(data, ignore_errors=True)
    shown = [s["ms"] for s in samples if s["shown"] == s["sent"]]
    if len(shown) < 20:
        sys.exit("too few changes seen on the page: %d of %d (%s)" % (len(shown), len(samples), samples[:3]))
    shown.sort()
    print("changes: %d pushed, %d shown as sent" % (len(samples), len(shown)))
    print("message to page shown: p50 %.2f ms, p95 %.2f ms, max %.2f ms"
          % (statistics.median(shown), shown[min(len(shown) - 1, len(shown) * 95 // 100)], shown[-1]))


if __name__ == "__main__":
    main()
