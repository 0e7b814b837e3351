// What the browser test and the README's pictures share: build-web/ served on
// 127.0.0.1, the two browsers as Debian installs them, and the game's board
// rows in page coordinates. puppeteer-core drives both (CDP for Chromium,
// WebDriver BiDi for Firefox).
import fs from 'node:fs';
import http from 'node:http';
import path from 'node:path';
import puppeteer from 'puppeteer-core';

const kTypes = {
  '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm', '.png': 'image/png',
  '.json': 'application/json', '.webmanifest': 'application/manifest+json', '.svg': 'image/svg+xml',
};

// Serves folder dir (files only, no listings) until server.stop(); port 0 picks a free one.
// The files of folder `over`, when given, are served in place of dir's files of the same names.
// With `encoded`, a .gz file is sent as some hosts send it: marked gzip-encoded, for the
// browser to inflate, and typed as the file without .gz.
export function serve(dir, port = 0, over = null, { encoded = false } = {}) {
  const root = path.resolve(dir);
  const replaced = new Set(over ? fs.readdirSync(over) : []);
  const server = http.createServer((request, response) => {
    const file = path.join(root, decodeURIComponent(new URL(request.url, 'http://host').pathname));
    const found = file.endsWith(path.sep) ? path.join(file, 'index.html') : file;
    const name = path.dirname(found) === root && replaced.has(path.basename(found)) ? path.join(path.resolve(over), path.basename(found)) : found;
    fs.readFile(name, (error, body) => {
      if (error || !found.startsWith(root)) return response.writeHead(404).end();
      const marked = encoded && name.endsWith('.gz');
      const type = kTypes[path.extname(marked ? name.slice(0, -3) : name)] ?? 'application/octet-stream';
      response.writeHead(200, { 'Content-Type': type, ...(marked ? { 'Content-Encoding': 'gzip' } : {}) }).end(body);
    });
  });
  server.stop = () => new Promise(done => { server.close(done); server.closeAllConnections(); });
  return new Promise(done => server.listen(port, '127.0.0.1', () => {
    server.url = `http://127.0.0.1:${server.address().port}/`;
    done(server);
  }));
}

export const kEngines = {
  // No sandbox as root; sound allowed before a click, as a player's click
  // would allow it.
  chromium: {
    browser: 'chrome', executablePath: '/usr/bin/chromium', headless: true,
    args: ['--no-sandbox', '--autoplay-policy=no-user-gesture-required'],
  },
  // Firefox plays in a window, as a player's does: on Xvfb where there is no display.
  firefox: { browser: 'firefox', executablePath: '/usr/bin/firefox-esr', headless: false },
};

export const launch = engine => puppeteer.launch({ ...kEngines[engine], defaultViewport: null });

// The game's window is 640 x 480 pixels; its board's six 32-pixel rows start
// 256 pixels down. Returns the page point over the middle of row `row`, 300
// game pixels from the left, wherever and however large the canvas is drawn.
export async function rowPoint(page, row) {
  const r = await page.$eval('#canvas', c => c.getBoundingClientRect().toJSON());
  return { x: r.left + 300 * r.width / 640, y: r.top + (256 + 32 * row + 16) * r.height / 480 };
}

// What the test's variant of the game (build-web/test/probe/) tells of its state.
export const frames = page => page.evaluate(() => Module._amber_frames());

// Resolves once the game has run `count` more updates.
export async function runFrames(page, count) {
  const end = (await frames(page)) + count;
  await page.waitForFunction(end => Module._amber_frames() >= end, { polling: 10, timeout: 60e3 }, end);
}
