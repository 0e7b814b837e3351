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

self.addEventListener('install', (event) => {
  // Straight from the server, never from the browser's HTTP cache, which may
  // still hold files of the release before.
  event.waitUntil(caches.open(cacheName).then((cache) =>
    cache.addAll(release.files.map((file) => new Request(file, { cache: 'reload' })))));
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
