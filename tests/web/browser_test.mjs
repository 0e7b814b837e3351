// amber hollow's page in Chromium and Firefox (run by scripts/web.sh --test):
// on a desktop in both, on a phone and as an installed app in Chromium.
// usage: node browser_test.mjs BUILD_WEB_DIR NATIVE_DIGEST_LINE ENGINE...
import { execFileSync } from 'node:child_process';
import fs from 'node:fs';
import os from 'node:os';
import zlib from 'node:zlib';
import { frames, launch, rowPoint, runFrames, serve } from './driver.mjs';

const [dir, nativeDigest, ...engines] = process.argv.slice(2);
let tally;
function check(name, ok, detail) {
  tally[ok ? 'passed' : 'failed'] += 1;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}: ${detail}`);
}
const seconds = since => ((Date.now() - since) / 1000).toFixed(1);
const newestRow = page => page.evaluate(() => Module._amber_newest_piece_row());

// Set up in the page before the game: the first frame is kept as it is
// drawn; the page's refusal of the menu is seen from behind it.
function pageHooks() {
  // The canvas as a PNG data URL.
  window.amberPicture = () => document.getElementById('canvas').toDataURL();
  // The pixels of a picture (URL) within the game rectangle crop; none when
  // the picture is not of the game's size.
  const pixels = (src, crop) => new Promise(done => {
    const img = Object.assign(new Image(), { src });
    img.onload = () => {
      const g = Object.assign(document.createElement('canvas'), { width: img.width, height: img.height }).getContext('2d');
      g.drawImage(img, 0, 0);
      done(img.width === 640 ? g.getImageData(...crop).data : []);
    };
  });
  // The game's pixel (x, y) as [r, g, b].
  window.amberPixel = async (x, y) => [...(await pixels(amberPicture(), [x, y, 1, 1])).slice(0, 3)];
  // The share of pixels that differ in a channel in two pictures; 1 when
  // their sizes differ.
  window.amberDiffer = async (a, b, crop = [0, 0, 640, 480]) => {
    const [p, q] = await Promise.all([pixels(a, crop), pixels(b, crop)]);
    let off = 0;
    for (let i = 0; i < p.length; i += 4) off += [0, 1, 2].some(k => p[i + k] !== q[i + k]);
    return p.length === q.length && p.length ? off / (p.length / 4) : 1;
  };
  addEventListener('amber-first-frame', () => { window.firstFrame = amberPicture(); });
  addEventListener('contextmenu', e => { window.menuRefused = e.defaultPrevented; });
}

async function openGame(browser, url, viewport) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  await page.evaluateOnNewDocument(pageHooks);
  await page.goto(url);
  await page.waitForFunction('window.firstFrame', { timeout: 120e3 });
  return page;
}

// A player's quickest click or tap: held for three updates, then let go for three.
async function briefly(page, down, up) {
  await down();
  await runFrames(page, 3);
  await up();
  await runFrames(page, 3);
}
async function tap(page, row) {
  const p = await rowPoint(page, row);
  let finger;
  await briefly(page, async () => { finger = await page.touchscreen.touchStart(p.x, p.y); }, () => finger.end());
}

async function desktop(browser, url) {
  const page = await openGame(browser, url, { width: 800, height: 800 });
  // The same software renderer as the native game's: the very same pixels.
  const off = await page.evaluate(() => amberDiffer(firstFrame, 'test/start-native.png'));
  const at = await page.evaluate(() => performance.getEntriesByName('amber-first-frame')[0].startTime);
  check('first frame', off === 0, `${(off * 100).toFixed(2)} % of its pixels differ from the native start frame; drawn ${at.toFixed(0)} ms after the page was asked for`);

  const p = await rowPoint(page, 3);
  await page.mouse.move(p.x, p.y);
  check('nothing in flight before a click', (await newestRow(page)) === -1, `newest piece row ${await newestRow(page)}`);
  await briefly(page, () => page.mouse.down(), () => page.mouse.up());
  check('a click fires along its row', (await newestRow(page)) === 3, `newest piece along row ${await newestRow(page)}, clicked on row 3`);

  const rightHeld = () => page.evaluate(() => Module._amber_right_held());
  await page.mouse.down({ button: 'right' });
  await runFrames(page, 3);
  check('the game sees the right button held', (await rightHeld()) === 1, `amber_right_held ${await rightHeld()}`);
  await page.mouse.up({ button: 'right' });
  await runFrames(page, 3);
  check('the game sees the right button let go', (await rightHeld()) === 0, `amber_right_held ${await rightHeld()}`);
  check('no menu opens over the board', await page.evaluate(() => window.menuRefused === true), 'contextmenu refused');

  // The smallest text that is drawn: the licence line and the control's hint.
  const smallest = await page.evaluate(() => Math.min(...[...document.querySelectorAll('body *')]
    .filter(el => [...el.childNodes].some(n => n.nodeType === Node.TEXT_NODE && n.textContent.trim()) && el.checkVisibility())
    .map(el => parseFloat(getComputedStyle(el).fontSize))));
  check('no text smaller than 12 px', smallest >= 12, `smallest text ${smallest} px`);
  await page.close();
}

// Chromium only: Firefox finds no sound device on these machines, and its
// audio stays "suspended" even on a bare page that may play.
async function sound(browser, url) {
  const page = await openGame(browser, url, { width: 800, height: 800 });
  const audio = await page.evaluate(() => Module.SDL2?.audioContext?.state);
  check('sound runs', audio === 'running', `audio context ${audio}`);
  await page.close();
}

async function replay(browser, url) {
  // A context of its own: the page's service worker would answer with the game.
  const page = await (await browser.createBrowserContext()).newPage();
  const start = Date.now();
  await page.goto(url + 'test/replay.html');
  const done = await page.waitForFunction(() => document.title.startsWith('replay digest') && document.title,
                                          { timeout: 300e3, polling: 200 });
  const digest = await done.jsonValue();
  check('the scripted game ends as natively', digest === nativeDigest,
        `browser "${digest}", native "${nativeDigest}", ${seconds(start)} s`);
  await page.close();
}

// A phone held either way: 390 x 844 CSS pixels, three screen pixels to each.
const kPhone = { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true };
const kPhones = [
  { name: 'portrait', viewport: kPhone, taps: [0, 5] },
  { name: 'landscape', viewport: { ...kPhone, width: 844, height: 390, isLandscape: true }, taps: [5, 0] },
];

// The charge bar's last pixel is drawn only once the charge is full (cyan),
// its first one for any charge at all.
const isCyan = ([r, g, b]) => r < 16 && g > 240 && b > 240;
const chargeFull = async page => isCyan(await page.evaluate(() => amberPixel(223, 208)));
// Spent: the bar's first pixel is the grey behind it or a dim cyan, under 20 points (g = charge x 6.375).
// Not "empty": a piece already in flight may burst a cell of its colour just after the special goes.
const chargeSpent = async () => (([r, g, b]) => r < 16 ? g < 128 : g - r < 8 && b - r < 8)(await amberPixel(161, 208));

// Plays with a finger held on the board until the special shot is charged;
// false when it never is. Each shot goes along a row whose front cell has the
// colour about to be fired, so that it bursts: blind shots that stick would
// build the wall out to the left edge and lose the game first, on bad luck.
async function fillCharge(page) {
  let finger = null;
  for (let shot = 0; shot < 300 && !(await chargeFull(page)); ++shot) {
    const matching = await page.evaluate(() => Module._amber_matching_row());
    const p = await rowPoint(page, matching >= 0 ? matching : shot % 6);
    if (finger) await finger.move(p.x, p.y);
    else finger = await page.touchscreen.touchStart(p.x, p.y);
    await runFrames(page, 21);
  }
  await finger?.end();
  return chargeFull(page);
}

async function phone(browser, url, { name, viewport, taps }) {
  const page = await openGame(browser, url, viewport);
  const on = `${name}: `;
  const fit = await page.$eval('#canvas', c => ({ ...c.getBoundingClientRect().toJSON(), w: innerWidth, h: innerHeight }));
  const size = `${fit.width} x ${fit.height} at (${fit.left}, ${fit.top}) on ${fit.w} x ${fit.h}`;
  check(on + 'the picture lies within the screen', fit.left >= 0 && fit.top >= 0 && fit.right <= fit.w && fit.bottom <= fit.h, size);
  check(on + 'the picture keeps 4:3', Math.abs(fit.width * 3 - fit.height * 4) < 1, size);
  check(on + 'the picture spans the screen one way', fit.width >= fit.w - 1 || fit.height >= fit.h - 1, size);

  // First, while no piece can yet have reached the wall and burst: a burst's
  // fragments would count as the newest pieces. A late timer runs several
  // updates at once, so a shot is known to lie between the update polled
  // before and the one on which its piece is first seen.
  await page.evaluate(() => { window.polled = Module._amber_frames(); });
  const seen = async row => (await page.waitForFunction(row => {
    const now = Module._amber_frames();
    if (Module._amber_newest_piece_row() === row) return { after: polled, by: window.polled = now };
    window.polled = now;
  }, { polling: 4, timeout: 10e3 }, row)).jsonValue();
  const [top, low] = [await rowPoint(page, 1), await rowPoint(page, 4)];
  const finger = await page.touchscreen.touchStart(top.x, top.y);
  const first = await seen(1);
  await finger.move(low.x, low.y);
  const second = await seen(4);
  await finger.end();
  const [least, most] = [second.after + 1 - first.by, second.by - first.after - 1];
  check(on + 'a held finger fires again after the cooldown', least <= 21 && 21 <= most,
        `${least}${most > least ? ` to ${most}` : ''} updates between the shots, 21 due`);

  for (const row of taps) {
    await runFrames(page, 22);  // past the cooldown of any shot before
    await tap(page, row);
    check(on + `a tap on row ${row} fires along it`, (await newestRow(page)) === row, `newest piece along row ${await newestRow(page)}`);
  }

  const scroll = await page.evaluate(() => [scrollX, scrollY, document.documentElement.scrollHeight - innerHeight]);
  check(on + 'the page does not scroll', scroll.every(v => v <= 0), `scrolled to (${scroll[0]}, ${scroll[1]}) after a drag; ${scroll[2]} px taller than the screen`);
  const cdp = await page.createCDPSession();
  const pinch = (x, y) => cdp.send('Input.synthesizePinchGesture', { x, y, scaleFactor: 2, gestureSourceType: 'touch' })
    .then(() => page.evaluate(() => visualViewport.scale));
  const onPicture = await pinch(fit.left + fit.width / 2, fit.top + fit.height / 2);
  check(on + 'a pinch on the picture does not zoom the page', onPicture === 1, `scale ${onPicture} after a pinch to twice the size`);

  if (name !== 'portrait') return page.close();
  const start = Date.now();
  check(on + 'play charges the special shot', await fillCharge(page), `${seconds(start)} s of play`);
  await runFrames(page, 22);
  const [aside, last] = [3, 2];
  await tap(page, aside);
  await tap(page, last);  // within the cooldown of the shot along `aside`: no shot of its own
  const button = await page.$eval('#special', b => b.getBoundingClientRect().toJSON());
  const thumb = await page.touchscreen.touchStart(button.x + button.width / 2, button.y + button.height / 2);
  // Seen while it flies: once it meets the wall, the fragments of what it bursts are the newest pieces.
  const along = await page.waitForFunction(row => Module._amber_newest_piece_row() === row, { polling: 4, timeout: 5e3 }, last)
    .then(() => true, () => false);
  check(on + 'the special control fires along the row last touched', along,
        `newest piece along row ${await newestRow(page)}, last touched row ${last}, tapped ${aside} before`);
  // On a busy machine the tap along `last` can land after the cooldown and shoot a plain piece there, so the
  // wait above ends before the special goes: give the special its time before looking at the bar.
  const spent = await page.waitForFunction(chargeSpent, { polling: 4, timeout: 5e3 }).then(() => true, () => false);
  check(on + 'the special shot spends the charge', spent,
        `charge bar ${await page.evaluate(() => amberPixel(161, 208))}`);
  await thumb.end();
  await page.close();
}

// The page as an installed app: its manifest, and play without the server.
async function app(browser, url, server) {
  const page = await openGame(browser, url, { width: 800, height: 800 });
  const cdp = await page.createCDPSession();
  const { errors } = await cdp.send('Page.getAppManifest');
  check('the manifest has no errors', errors.length === 0, JSON.stringify(errors));
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  const script = zlib.gunzipSync(Buffer.from(await (await fetch(url + 'amber-hollow.js.gz')).arrayBuffer())).toString();
  check('the release carries no test probes', !script.includes('amber_frames') && !script.includes('amber_newest_piece_row'),
        `amber_frames ${script.includes('amber_frames') ? 'in' : 'not in'} the release's script`);
  check('Chromium can install the page', installabilityErrors.length === 0, JSON.stringify(installabilityErrors));
  const worker = await page.evaluate(() => Promise.race([navigator.serviceWorker.ready.then(() => true),
                                                       new Promise(done => setTimeout(done, 30e3, false))]));
  check('a service worker takes the page', worker, 'navigator.serviceWorker.ready');
  // The worker answers for the release's files and the folder's address only:
  // anything else reaches the server as if there were no worker. (It takes
  // the page it was installed from a moment after it is ready.)
  await page.waitForFunction('navigator.serviceWorker.controller', { timeout: 30e3 });
  const answered = {};
  const seen = response => { answered[new URL(response.url()).pathname.slice(1) || './'] = response.fromServiceWorker(); };
  page.on('response', seen);
  await page.evaluate(() => Promise.all(['amber-hollow.data.gz', './', 'release.json', 'not-the-game.txt'].map(file => fetch(file))));
  page.off('response', seen);
  check('the worker answers for its files and the folder', answered['amber-hollow.data.gz'] && answered['./'],
        JSON.stringify(answered));
  check('the worker leaves other addresses to the network', !answered['release.json'] && !answered['not-the-game.txt'],
        JSON.stringify(answered));
  await server.stop();
  const start = Date.now();
  await page.reload();
  const offline = await page.waitForFunction('window.firstFrame', { timeout: 60e3 }).then(() => true, () => false);
  check('the game starts with the server stopped', offline, `first frame after ${seconds(start)} s`);
  await page.close();
}

// The page's cache names its release, and the files of a release, as the
// worker keeps them.
const amberCaches = page => page.evaluate(async () => {
  const names = (await caches.keys()).filter(name => name.startsWith('amber-hollow '));
  return Promise.all(names.map(async name => ({ name, files: (await (await caches.open(name)).keys()).length })));
});
// The release's name and files, as the build wrote them beside the page.
const releaseOf = folder => JSON.parse(fs.readFileSync(`${folder}/release.json`, 'utf8'));

// True once no service worker waits to take over from another, as Chromium's
// DevTools see them; false after 30 s. (A worker waits until the last page
// it would take is gone, and may take a moment more.)
async function takenOver(browser) {
  const page = await browser.newPage();
  const cdp = await page.createCDPSession();
  const status = new Map();
  const settled = new Promise(done => cdp.on('ServiceWorker.workerVersionUpdated', ({ versions }) => {
    for (const version of versions) status.set(version.versionId, version.status);
    if ([...status.values()].every(s => s === 'activated' || s === 'redundant')) done(true);
  }));
  await cdp.send('ServiceWorker.enable');
  const inTime = await Promise.race([settled, new Promise(done => setTimeout(done, 30e3, false))]);
  await page.close();
  return inTime;
}

// A new release put on the same address after an offline visit: the page in
// use keeps the old release whole while the new one is fetched beside it;
// once that page is closed, the next visit is the new release alone, offline
// too, and the old release's cache is gone.
async function newRelease(browser, url) {
  // Release 2 is this build with its page changed, named as a release build
  // names it (cmake/web-release.cmake over the same files).
  const next = fs.mkdtempSync(`${os.tmpdir()}/amber-release-`);
  fs.cpSync(dir, next, { recursive: true });
  fs.appendFileSync(`${next}/index.html`, '<!-- release 2 -->\n');
  const { files } = releaseOf(dir);
  const source = new URL('../..', import.meta.url).pathname;
  execFileSync('cmake', [`-DWEB_DIR=${next}`, `-DTEMPLATE=${source}src/app/sw.js`, `-DFILES=${files.join(';')}`,
                         '-P', `${source}cmake/web-release.cmake`]);
  const [oldName, newName] = [releaseOf(dir).release, releaseOf(next).release];
  check('a changed page is a new release', oldName !== newName, `release ${oldName}, then ${newName}`);
  const server = await serve(next, new URL(url).port);

  // The mark is a comment after </html>: a child of the document itself.
  const marked = page => page.evaluate(() => new XMLSerializer().serializeToString(document).includes('<!-- release 2 -->'));
  const page = await openGame(browser, url, { width: 800, height: 800 });
  await page.evaluate(async () => {
    const registration = await navigator.serviceWorker.getRegistration();
    await registration.update();
    const worker = registration.installing || registration.waiting;
    // Installed, or thrown out when its files could not all be fetched.
    const settled = () => ['installed', 'redundant'].includes(worker.state);
    if (worker && !settled())
      await new Promise(done => worker.addEventListener('statechange', () => settled() && done()));
  });
  const during = await amberCaches(page);
  check('the open page stays on its release', !(await marked(page)), 'the page without the new release\'s mark');
  check('the new release is fetched whole beside the old', during.length === 2 && during.every(c => c.files === files.length),
        JSON.stringify(during));
  await page.close();
  const start = Date.now();
  check('the new release takes over once its page is closed', await takenOver(browser), `after ${seconds(start)} s`);

  await server.stop();
  const later = await openGame(browser, url, { width: 800, height: 800 });
  check('the next visit is the new release, offline', await marked(later), 'the page with the new release\'s mark');
  const after = await amberCaches(later);
  check('only the new release is kept', after.length === 1 && after[0].name.endsWith(newName) && after[0].files === files.length,
        JSON.stringify(after));
  await later.close();
  fs.rmSync(next, { recursive: true });
}

// A release whose resource package lacks the border sheet: the game's error
// line, which it writes to standard output, is shown over the picture and
// stays there once the game draws. The package's list of files lies in the
// (gzipped) script: the sheet is renamed there, so the game finds no file of
// its name.
async function missingSheet(browser) {
  const broken = fs.mkdtempSync(`${os.tmpdir()}/amber-missing-sheet-`);
  fs.cpSync(dir, broken, { recursive: true });
  const script = zlib.gunzipSync(fs.readFileSync(`${broken}/amber-hollow.js.gz`)).toString();
  const [sheet, renamed] = ['"/resources/border.bmp"', '"/resources/border.bm_"'];
  if (script.split(sheet).length !== 2) throw new Error(`${sheet} is not once in the package's list of files`);
  fs.writeFileSync(`${broken}/amber-hollow.js.gz`, zlib.gzipSync(script.replace(sheet, renamed)));
  const server = await serve(broken);
  try {
    const page = await openGame(browser, server.url, { width: 800, height: 800 });
    const shown = await page.$eval('#status', s => ({ text: s.textContent, visible: s.checkVisibility() }));
    check('a missing sheet\'s error line is on the page', shown.text.startsWith('Surface initialization error! : '),
          `"${shown.text}"`);
    check('the error line stays once the game draws', shown.visible, `visible ${shown.visible} after the first frame`);
    await page.close();
  } finally {
    await server.stop();
    fs.rmSync(broken, { recursive: true });
  }
}

// A host that marks the .gz files gzip-encoded, so that the browser inflates
// them before the page sees them: the game starts all the same, and the
// offline worker keeps the whole release. (Its own port: an origin, worker and
// HTTP cache of its own.)
async function encodingHost(browser) {
  const server = await serve(dir, 0, null, { encoded: true });
  try {
    const page = await openGame(browser, server.url, { width: 800, height: 800 });
    const taken = await page.waitForFunction('navigator.serviceWorker.controller', { timeout: 30e3 }).then(() => true, () => false);
    const kept = await amberCaches(page);
    check('the worker keeps the release from a host that sends it gzip-encoded',
          taken && kept.length === 1 && kept[0].files === releaseOf(dir).files.length,
          `page taken by a worker ${taken}, caches ${JSON.stringify(kept)}`);
    await page.close();
  } finally {
    await server.stop();
  }
}

// A browser that can play no sound (no Web Audio at all): the game cannot
// start, and the mixer's error line is on the page for the player to read.
async function noSound(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 800 });
  await page.evaluateOnNewDocument(() => { delete window.AudioContext; delete window.webkitAudioContext; });
  await page.goto(url);
  const shown = await page.waitForFunction(() => document.getElementById('status').textContent.includes('Audio initialization error! : '),
                                           { timeout: 60e3 }).then(() => true, () => false);
  check('without sound the mixer\'s error line is on the page', shown,
        `"${await page.$eval('#status', s => s.textContent)}"`);
  await page.close();
}

// A browser without WebGL (turned off, or no driver for it) plays all the
// same: the game draws into a 2D canvas.
async function noWebGL(browser, url) {
  const page = await browser.newPage();
  await page.setViewport({ width: 800, height: 800 });
  await page.evaluateOnNewDocument(() => {
    const getContext = HTMLCanvasElement.prototype.getContext;
    HTMLCanvasElement.prototype.getContext = function (type, options) {
      return type.includes('webgl') ? null : getContext.call(this, type, options);
    };
    addEventListener('amber-first-frame', () => { window.firstFrame = true; });
  });
  await page.goto(url);
  const drawn = await page.waitForFunction('window.firstFrame', { timeout: 120e3 }).then(() => true, () => false);
  const status = await page.$eval('#status', s => s.textContent);
  check('without WebGL the game plays', drawn && status === '', `first frame ${drawn ? 'drawn' : 'never drawn'}, status "${status}"`);
  await page.close();
}

const kRuns = {
  desktop, replay, sound, 'missing sheet': missingSheet, 'no sound': noSound, 'no WebGL': noWebGL, 'encoding host': encodingHost,
  'phone portrait': (browser, url) => phone(browser, url, kPhones[0]),
  'phone landscape': (browser, url) => phone(browser, url, kPhones[1]),
  app,  // it stops the server
  'new release': newRelease,
};
const kEngineRuns = { chromium: Object.keys(kRuns), firefox: ['desktop', 'replay', 'missing sheet', 'no sound', 'no WebGL', 'encoding host'] };
// These play the test's variant of the game (build-web/test/probe/), which tells them of its state.
const kProbed = new Set(['desktop', 'phone portrait', 'phone landscape']);
// AMBER_WEB_RUNS="app,new release" runs only those (when one case is being mended).
const only = process.env.AMBER_WEB_RUNS?.split(',');

for (const engine of engines) {
  tally = { passed: 0, failed: 0 };
  const start = Date.now();
  const server = await serve(dir);
  const probed = await serve(dir, 0, `${dir}/test/probe`);
  const browser = await launch(engine);
  console.log(`== ${engine} ${await browser.version()} ==`);
  for (const name of kEngineRuns[engine].filter(name => !only || only.includes(name))) {
    try {
      await kRuns[name](browser, kProbed.has(name) ? probed.url : server.url, server);
    } catch (error) {
      check(name, false, `stopped: ${error.message.split('\n')[0]}`);
    }
  }
  await browser.close();
  await Promise.all([server.stop(), probed.stop()]);
  console.log(`${engine} took ${seconds(start)} s`);
  console.log(`${engine}: ${tally.passed} passed, ${tally.failed} failed`);
  process.exitCode ||= tally.failed > 0 ? 1 : 0;
}
