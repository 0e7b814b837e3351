"""The game in headless Chromium, served from 127.0.0.1 (run by scripts/web.sh --test).
usage: browser_test.py URL NATIVE_DIGEST_LINE"""
import os, sys, time
here = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(here, '..', '..', 'scripts', 'web'))
from chromium import Browser

url, native_digest = sys.argv[1:]
results = []
def check(name, ok, detail):
    results.append(ok)
    print(f'{"ok  " if ok else "FAIL"} {name}: {detail}', flush=True)

# The first frame is read back in the task that drew it, before WebGL lets the
# picture go; the page's refusal of the menu is seen from behind it.
HOOKS = """addEventListener('amber-first-frame', () => { window.firstFrame = document.getElementById('canvas').toDataURL(); });
addEventListener('contextmenu', e => { window.menuRefused = e.defaultPrevented; });"""
# The share of pixels more than 40 apart in a channel: WebGL and SDL's software
# renderer blend the edges of turned limbs and of the gems differently.
COMPARE = """(async () => {
  const pixels = src => new Promise(done => { const img = new Image(); img.onload = () => {
    const c = document.createElement('canvas'); [c.width, c.height] = [img.width, img.height];
    const g = c.getContext('2d'); g.drawImage(img, 0, 0); done(g.getImageData(0, 0, c.width, c.height).data); }; img.src = src; });
  const [a, b] = await Promise.all([pixels(firstFrame), pixels('test/start-native.png')]);
  let off = 0;
  for (let i = 0; i < a.length; i += 4) off += Math.max(...[0, 1, 2].map(k => Math.abs(a[i + k] - b[i + k]))) > 40;
  return a.length === b.length ? off / (a.length / 4) : 1; })()"""

with Browser(os.path.join(here, '..', '..', 'build-web', 'test', 'chromium.log')) as browser:
    page = browser.page()
    page.call('Page.addScriptToEvaluateOnNewDocument', source=HOOKS)
    page.call('Page.navigate', url=url)
    page.wait_for('window.firstFrame')
    off = page.eval(COMPARE)
    check('first frame', off < 0.005, f'{page.eval("amberFirstFrameAt"):.0f} ms after the page was asked for; '
          f'{off:.2%} of its pixels differ from the native start frame')

    frames = lambda: page.eval('Module._amber_frames()')
    f0, t0 = frames(), time.monotonic()
    time.sleep(3)
    real = (frames() - f0) / (time.monotonic() - t0)
    page.advance(100)  # frames overdue on this busy machine's clock are caught up first
    f0 = frames()
    page.advance(4000)
    rate, title = (frames() - f0) / 4, page.eval('document.title')
    check('pace', abs(rate - 62.5) <= 62.5 * 0.05 and title == 'amber hollow (FPS: 62)',
          f'{rate:.2f} updates/s of virtual time ({real:.1f}/s of busy real time), title "{title}"')

    def press_and_release(button, x, y):  # each held and released for a few frames
        for kind in ('mousePressed', 'mouseReleased'):
            page.mouse(kind, x, y, button)
            end, give_up = frames() + 3, time.monotonic() + 60  # by frames: a playing sound holds virtual time back
            while frames() < end and time.monotonic() < give_up: page.advance(16)
            yield
    left, top = page.eval('(r => [r.left, r.top])(document.getElementById("canvas").getBoundingClientRect())')
    x, y = left + 300, top + 256 + 32 * 3 + 16  # over board row 3
    page.mouse('mouseMoved', x, y)
    before = page.eval('Module._amber_newest_piece_row()')  # nothing in flight yet
    for _ in press_and_release('left', x, y): pass
    row = page.eval('Module._amber_newest_piece_row()')
    check('click fires along its row', (before, row) == (-1, 3), f'none before ({before}); then the newest along row {row}')
    held = [page.eval('[Module._amber_right_held(), window.menuRefused]') for _ in press_and_release('right', x, y)]
    check('right button', held == [[1, True], [0, True]], f'[held in the game, menu refused] pressed, released: {held}')
    audio = page.eval('Module.SDL2 && Module.SDL2.audioContext && Module.SDL2.audioContext.state')
    check('sound', audio == 'running', f'audio context {audio}')

    replay = browser.page()
    replay.call('Page.navigate', url=url + 'test/replay.html')
    digest = replay.wait_for('document.title.startsWith("replay digest") && document.title', 300)
    check('same game as native', digest == native_digest, f'browser "{digest}", native "{native_digest}"')

print(f'browser: {results.count(True)} passed, {results.count(False)} failed')
sys.exit(0 if all(results) else 1)
