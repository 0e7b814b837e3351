// What a first visit to the page moves over the network from a server that
// does not compress (run by scripts/web.sh in its size report): build-web/
// served by `python3 -m http.server`, the server the README suggests, reached
// through a counting relay on 127.0.0.1, and opened in headless Chromium with
// an empty cache. The relay counts every byte the server sends, headers too,
// whoever asked: the page, the game's loader, the offline worker, the browser
// fetching the manifest's icons. Prints the bytes of each address and in all,
// and fails above the page's budget.
// usage: node first_visit.mjs BUILD_WEB_DIR
import { spawn } from 'node:child_process';
import net from 'node:net';
import { launch } from './driver.mjs';

// A first visit's bytes from a server that does not compress, at most: a
// phone on a slow network has the game within a few seconds.
const kBudget = 350000;

const freePort = () => new Promise(done => {
  const probe = net.createServer().listen(0, '127.0.0.1', () => {
    const { port } = probe.address();
    probe.close(() => done(port));
  });
});
const answers = port => new Promise(done => net.connect(port, '127.0.0.1')
  .on('connect', function () { this.destroy(); done(true); })
  .on('error', () => done(false)));

// Starts `python3 -m http.server` on dir behind a counting relay. Resolves to
// { url, moved, stop }: moved() is a Map from each requested path to the bytes
// sent for it, summed over its requests. That server answers one request per
// connection (HTTP/1.0), so a connection's bytes belong to the path its
// request line names.
export async function countingPlainServer(dir) {
  const port = await freePort();
  const python = spawn('python3', ['-m', 'http.server', '--bind', '127.0.0.1', '--directory', dir, String(port)],
                       { stdio: 'ignore' });
  // It says nothing until it is asked something: wait for its port to answer.
  for (let tries = 0; !(await answers(port)); ++tries) {
    if (tries > 100) throw new Error('python3 -m http.server did not start');
    await new Promise(done => setTimeout(done, 50));
  }
  const moved = new Map();
  const relay = net.createServer(client => {
    const server = net.connect(port, '127.0.0.1');
    let path = null;
    let bytes = 0;
    client.on('data', chunk => { path ??= chunk.toString('latin1').split('\r\n')[0].split(' ')[1]; });
    server.on('data', chunk => { bytes += chunk.length; });
    // A connection the browser opened ahead and never used carries no request.
    server.on('close', () => { if (path) moved.set(path, (moved.get(path) ?? 0) + bytes); });
    client.pipe(server).pipe(client);
    client.on('error', () => server.destroy());
    server.on('error', () => client.destroy());
  });
  await new Promise(done => relay.listen(0, '127.0.0.1', done));
  return {
    url: `http://127.0.0.1:${relay.address().port}/`,
    moved: () => new Map(moved),
    stop: () => new Promise(done => { python.kill(); relay.close(done); }),
  };
}

const sum = moved => [...moved.values()].reduce((a, b) => a + b, 0);

// One first visit in a fresh context of browser: until the game's picture is
// up, the offline worker has taken the page and nothing more has been sent
// for a second. Resolves to the Map of countingPlainServer's moved().
export async function firstVisitBytes(browser, dir) {
  const server = await countingPlainServer(dir);
  const context = await browser.createBrowserContext();
  try {
    const page = await context.newPage();
    await page.setViewport({ width: 800, height: 800 });
    await page.goto(server.url);
    await page.waitForFunction(() => document.getElementById('loading').hidden, { timeout: 120e3 });
    await page.waitForFunction('navigator.serviceWorker.controller', { timeout: 60e3 });
    for (let total = -1; total !== sum(server.moved());) {
      total = sum(server.moved());
      await new Promise(done => setTimeout(done, 1000));
    }
    return server.moved();
  } finally {
    await context.close();
    await server.stop();
  }
}

if (import.meta.url === `file://${process.argv[1]}`) {
  const browser = await launch('chromium');
  try {
    const moved = await firstVisitBytes(browser, process.argv[2]);
    for (const [path, bytes] of [...moved].sort()) console.log(`  ${path.padEnd(24)} ${String(bytes).padStart(8)} bytes`);
    const total = sum(moved);
    const verdict = total <= kBudget ? 'within' : 'OVER';
    console.log(`a first visit from python3 -m http.server: ${total} bytes, ${verdict} the ${kBudget} budget`);
    process.exitCode = total <= kBudget ? 0 : 1;
  } finally {
    await browser.close();
  }
}
