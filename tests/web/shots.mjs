// The README's pictures of the page in Chromium (run by scripts/web.sh --shot):
// a phone held upright and on its side, and a desktop window, each after a
// few seconds of play with a finger or the left button held on the board.
// usage: node shots.mjs BUILD_WEB_DIR PICTURES_DIR
import path from 'node:path';
import { launch, rowPoint, runFrames, serve } from './driver.mjs';

const [dir, pictures] = process.argv.slice(2);
// Phones at two screen pixels to each CSS pixel: sharp, and small enough files.
const kPhone = { width: 390, height: 844, deviceScaleFactor: 2, isMobile: true, hasTouch: true };
const kShots = [
  { file: 'web-phone-portrait.png', viewport: kPhone },
  { file: 'web-phone-landscape.png', viewport: { ...kPhone, width: 844, height: 390, isLandscape: true } },
  { file: 'browser.png', viewport: { width: 960, height: 600 } },
];

const server = await serve(dir);
const browser = await launch('chromium');
for (const { file, viewport } of kShots) {
  const page = await browser.newPage();
  await page.setViewport(viewport);
  await page.goto(server.url);
  await page.waitForFunction(() => performance.getEntriesByName('amber-first-frame').length, { timeout: 120e3 });
  const p = await rowPoint(page, 2);
  if (viewport.hasTouch) {
    await page.touchscreen.touchStart(p.x, p.y);
  } else {
    await page.mouse.move(p.x, p.y);
    await page.mouse.down();
  }
  await runFrames(page, 250);
  await page.screenshot({ path: path.join(pictures, file) });
  console.log(`${file}: ${viewport.width} x ${viewport.height} CSS pixels`);
  await page.close();
}
await browser.close();
await server.stop();
