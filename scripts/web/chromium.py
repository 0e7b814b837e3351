"""Headless Chromium driven over its DevTools pipe (no port, nothing beyond
Python's own library). Used by the browser test and for the README's picture.

Chromium reads commands on its descriptor 3 and answers on 4, each message
JSON ended by a NUL byte."""
import base64
import json
import os
import select
import shutil
import subprocess
import tempfile
import time

# WebGL on the software rasteriser; no sandbox as root; nothing that would
# reach for the network; sound allowed before a click, as a player's click
# would allow it.
FLAGS = ['--headless', '--no-sandbox', '--enable-unsafe-swiftshader', '--disable-background-networking',
         '--disable-component-update', '--disable-sync', '--no-first-run', '--disable-default-apps',
         '--autoplay-policy=no-user-gesture-required', '--window-size=800,800', '--remote-debugging-pipe']


class Browser:
    def __init__(self, log_path=os.devnull):
        self.profile = tempfile.mkdtemp(prefix='amber-chromium-')
        to_chromium, self.out = os.pipe()
        self.inp, from_chromium = os.pipe()
        # Through the shell, which puts the two pipe ends on 3 and 4 by way of
        # free descriptors, whatever numbers they had here.
        launch = 'exec 98<&"$1" 99>&"$2"; exec 3<&98 4>&99 98<&- 99>&-; shift 2; exec "$@"'
        with open(log_path, 'ab') as log:
            self.proc = subprocess.Popen(
                ['bash', '-c', launch, 'chromium', str(to_chromium), str(from_chromium), 'chromium', *FLAGS,
                 '--user-data-dir=' + self.profile],
                stdin=subprocess.DEVNULL, stdout=log, stderr=log, pass_fds=(to_chromium, from_chromium))
        os.close(to_chromium)
        os.close(from_chromium)
        self.buffer = b''
        self.events = []
        self.last_id = 0

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.proc.terminate()
        try:
            self.proc.wait(10)
        except subprocess.TimeoutExpired:
            self.proc.kill()
        shutil.rmtree(self.profile, ignore_errors=True)

    def _next_message(self, deadline):
        while b'\0' not in self.buffer:
            left = deadline - time.monotonic()
            if left <= 0 or not select.select([self.inp], [], [], left)[0]:
                raise TimeoutError('Chromium did not answer in time')
            chunk = os.read(self.inp, 1 << 20)
            if not chunk:
                raise RuntimeError('Chromium closed its pipe')
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b'\0', 1)
        return json.loads(message)

    def send(self, method, params=None, session=None, timeout=60):
        self.last_id += 1
        message = {'id': self.last_id, 'method': method, 'params': params or {}}
        if session:
            message['sessionId'] = session
        os.write(self.out, json.dumps(message).encode() + b'\0')
        deadline = time.monotonic() + timeout
        while True:
            reply = self._next_message(deadline)
            if reply.get('id') != self.last_id:
                self.events.append(reply)
            elif 'error' in reply:
                raise RuntimeError(f'{method}: {reply["error"]}')
            else:
                return reply['result']

    def wait_event(self, method, session, timeout=120):
        deadline = time.monotonic() + timeout
        while True:
            for e in self.events:
                if e.get('method') == method and e.get('sessionId') == session:
                    self.events.remove(e)
                    return e['params']
            self.events.append(self._next_message(deadline))

    def page(self):
        return Page(self)


class Page:
    def __init__(self, browser):
        self.browser = browser
        target = browser.send('Target.createTarget', {'url': 'about:blank'})['targetId']
        self.session = browser.send('Target.attachToTarget', {'targetId': target, 'flatten': True})['sessionId']
        self.call('Page.enable')

    def call(self, method, **params):
        return self.browser.send(method, params, self.session)

    def eval(self, expression):
        r = self.call('Runtime.evaluate', expression=expression, awaitPromise=True, returnByValue=True)
        if 'exceptionDetails' in r:
            raise RuntimeError(f'{expression[:60]}: {r["exceptionDetails"]}')
        return r['result'].get('value')

    def wait_for(self, expression, timeout=120):
        deadline = time.monotonic() + timeout
        while not (value := self.eval(expression)):
            if time.monotonic() > deadline:
                raise TimeoutError(f'waited {timeout} s for {expression}')
            time.sleep(0.1)
        return value

    def advance(self, millis):
        """Lets the page run for millis of virtual time, however long that takes
        on this machine: the page's clock and timers stand still meanwhile."""
        self.call('Emulation.setVirtualTimePolicy', policy='advance', budget=millis)
        self.browser.wait_event('Emulation.virtualTimeBudgetExpired', self.session)

    def mouse(self, kind, x, y, button='none'):
        self.call('Input.dispatchMouseEvent', type=kind, x=x, y=y, button=button,
                  clickCount=0 if kind == 'mouseMoved' else 1)

    def screenshot(self, path):
        """The page down to the end of its content."""
        height = self.eval('Math.ceil(document.body.getBoundingClientRect().bottom)')
        clip = {'x': 0, 'y': 0, 'width': 800, 'height': height, 'scale': 1}
        with open(path, 'wb') as f:
            f.write(base64.b64decode(self.call('Page.captureScreenshot', format='png', clip=clip)['data']))


if __name__ == '__main__':
    # The README's picture: the page at URL after four seconds of play with
    # the left button held on the top row, written to PATH.
    import sys
    url, path = sys.argv[1:]
    with Browser() as browser:
        page = browser.page()
        page.call('Page.navigate', url=url)
        page.wait_for('window.amberFirstFrameAt')
        left, top = page.eval('(r => [r.left, r.top])(document.getElementById("canvas").getBoundingClientRect())')
        page.mouse('mouseMoved', left + 300, top + 260)
        page.mouse('mousePressed', left + 300, top + 260, 'left')
        page.advance(4000)
        page.screenshot(path)
