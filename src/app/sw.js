// amber hollow offline: the first visit keeps every file of this release in
// one cache; later visits are served from it without the network. A release
// has a cache of its own, named by a digest of its files, so a page never mixes
// files of two releases: the new worker fills its cache while the old one
// still serves open pages, takes over only once none is left, and then drops
// the old caches. Addresses are relative: the folder may live under any path.
'use strict';

// The release as the build wrote it beside the page (release.json). It is in
// the worker itself, so that a new release is a new worker, and so that the
// worker knows, as each request comes, whether the request is its own.
const release = @AMBER_WEB_RELEASE_JSON@;
const kept = new Set(release.files);
const prefix = 'amber-hollow ' + self.registration.scope + ' ';
const cacheName = prefix + release.release;

// What the page reads from a response: a gzipped file inflated. A server
// that marks .gz files gzip-encoded has the browser inflate them on the way;
// then they arrive without gzip's mark (1f 8b), which none of the game's files
// has of its own. (The page reads its files the same way.)
async function contentOf(response) {
  const bytes = await response.arrayBuffer();
  const head = new Uint8Array(bytes, 0, Math.min(2, bytes.byteLength));
  if (head[0] !== 0x1f || head[1] !== 0x8b) return bytes;
  return new Response(new Blob([bytes]).stream().pipeThrough(new DecompressionStream('gzip'))).arrayBuffer();
}

const hex = (buffer) => [...new Uint8Array(buffer)].map((b) => b.toString(16).padStart(2, '0')).join('');

// A file of this release, as release.json's digest says it reads. The page
// that registered the worker has just fetched all of them, so the browser's
// HTTP cache is asked first (the page itself may be there under the folder's
// address), and the server only for what is not there or is another release's
// (an older visit's): a first visit moves each file once.
async function releaseFile(file) {
  const tries = [[file, 'only-if-cached'], ...(file === 'index.html' ? [['./', 'only-if-cached']] : []), [file, 'reload']];
  for (const [address, cache] of tries) {
    // A file the HTTP cache lacks is refused, as is one the server cannot
    // send: the next try follows, and after the last the install fails.
    const response = await fetch(new Request(address, { cache, mode: 'same-origin' })).catch(() => null);
    if (!response?.ok) continue;
    const digest = hex(await crypto.subtle.digest('SHA-256', await contentOf(response.clone())));
    if (digest === release.sha256[file]) return response;
  }
  // The server holds another release than this worker's: install nothing,
  // and the next visit's worker tries again.
  throw new Error(`${file} on the server is not release ${release.release}'s`);
}

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(cacheName).then((cache) =>
    Promise.all(release.files.map(async (file) => cache.put(file, await releaseFile(file))))));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names
      .filter((name) => name.startsWith(prefix) && name !== cacheName)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

// The release's file a request asks for, by its name in release.json; the
// folder's own address is the page. Empty for any other request.
function keptFile(request) {
  if (request.method !== 'GET') return '';
  const url = new URL(request.url);
  const scope = new URL(self.registration.scope);
  if (url.origin !== scope.origin || !url.pathname.startsWith(scope.pathname)) return '';
  const name = url.pathname.slice(scope.pathname.length) || 'index.html';
  return kept.has(name) ? name : '';
}

self.addEventListener('fetch', (event) => {
  // Anything else goes to the network untouched, as if there were no worker.
  const file = keptFile(event.request);
  if (!file) return;
  event.respondWith(caches.open(cacheName).then((cache) => cache.match(file))
    .then((hit) => hit || fetch(event.request)));
});
