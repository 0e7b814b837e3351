// How soon a first visit to the page shows the game, in headless Chromium on
// 127.0.0.1 (run by scripts/web.sh --bench): each visit in a fresh browser
// context, so nothing comes from the HTTP cache or the offline cache. Prints
// each visit's time from the page being asked for to the game's first frame,
// and their median and worst.
// usage: node web_first_frame.mjs BUILD_WEB_DIR [VISITS]
import { launch, serve } from '../tests/web/driver.mjs';

const dir = process.argv[2];
const visits = Number(process.argv[3] ?? 10);
const server = await serve(dir);
const browser = await launch('chromium');
const times = [];
for (let visit = 1; visit <= visits; ++visit) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 800, height: 800 });
  await page.goto(server.url);
  // The page marks the game's first frame on its performance timeline.
  await page.waitForFunction(() => performance.getEntriesByName('amber-first-frame').length, { timeout: 60e3 });
  const [frame, loaded] = await page.evaluate(() => [performance.getEntriesByName('amber-first-frame')[0].startTime,
                                                     performance.getEntriesByType('navigation')[0].loadEventEnd]);
  times.push(frame);
  console.log(`visit ${visit}: first frame ${frame.toFixed(0)} ms after the page was asked for (page loaded at ${loaded.toFixed(0)} ms)`);
  await context.close();
}
times.sort((a, b) => a - b);
console.log(`${await browser.version()}: median ${times[times.length >> 1].toFixed(0)} ms, worst ${times[times.length - 1].toFixed(0)} ms over ${times.length} first visits`);
await browser.close();
await server.stop();
