// Where the page's start-up time goes, in headless Chromium on 127.0.0.1 with
// the processor slowed four times, as Lighthouse's phone preset slows it:
// every task that held the page for more than 50 ms until the first frame,
// the longest, and the game's own start steps as the page marks them
// ("amber start: ..." measures).
// usage: node web_start_profile.mjs BUILD_WEB_DIR [VISITS]
import { launch, serve } from '../tests/web/driver.mjs';

const dir = process.argv[2];
const visits = Number(process.argv[3] ?? 3);
const server = await serve(dir);
const browser = await launch('chromium');
for (let visit = 1; visit <= visits; ++visit) {
  const context = await browser.createBrowserContext();
  const page = await context.newPage();
  await page.setViewport({ width: 800, height: 800 });
  await page.emulateCPUThrottling(4);
  await page.evaluateOnNewDocument(() => {
    window.amberLongTasks = [];
    new PerformanceObserver(list => {
      for (const task of list.getEntries()) window.amberLongTasks.push([task.startTime, task.duration]);
    }).observe({ type: 'longtask', buffered: true });
  });
  await page.goto(server.url);
  // The page marks its first frame on its performance timeline.
  await page.waitForFunction(() => performance.getEntriesByName('amber-first-frame').length > 0, { timeout: 120e3 });
  // A moment for the observer to hand over the last task.
  await new Promise(done => setTimeout(done, 500));
  const got = await page.evaluate(() => ({
    frame: performance.getEntriesByName('amber-first-frame')[0].startTime,
    tasks: amberLongTasks,
    steps: performance.getEntriesByType('measure').filter(m => m.name.startsWith('amber start'))
      .map(m => [m.name, m.startTime, m.duration]),
  }));
  const tasks = got.tasks.filter(([start]) => start <= got.frame);
  const longest = Math.max(0, ...tasks.map(([, d]) => d));
  console.log(`visit ${visit}: first frame at ${got.frame.toFixed(0)} ms; ${tasks.length} tasks over 50 ms, longest ${longest.toFixed(0)} ms`);
  for (const [start, d] of tasks) console.log(`  task at ${start.toFixed(0)} ms: ${d.toFixed(0)} ms`);
  for (const [name, start, d] of got.steps) console.log(`  ${name.padEnd(36)} at ${start.toFixed(0).padStart(5)} ms: ${d.toFixed(1).padStart(6)} ms`);
  await context.close();
}
await browser.close();
await server.stop();
