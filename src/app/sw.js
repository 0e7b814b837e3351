// amber hollow offline: the first visit keeps every file of this release in
// one cache; later visits are served from it without the network. A release
// has a cache of its own, named by a digest of its files, so a page never mixes
// files of two releases: the new worker fills its cache while the old one
// still serves open pages, takes over only once none is left, and then drops
// the old caches. Addresses are relative: the folder may live under any path.
'use strict';

const release = '@AMBER_WEB_RELEASE@';
const files = [@AMBER_WEB_FILES@];
const prefix = 'amber-hollow ' + self.registration.scope + ' ';
const cacheName = prefix + release;

self.addEventListener('install', (event) => {
  // Straight from the server, never from the browser's HTTP cache, which may
  // still hold files of the release before.
  event.waitUntil(caches.open(cacheName).then((cache) =>
    cache.addAll(files.map((file) => new Request(file, { cache: 'reload' })))));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names
      .filter((name) => name.startsWith(prefix) && name !== cacheName)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  const request = event.request;
  if (request.method !== 'GET') return;
  // The folder's own address is the page; anything else not kept here (no
  // file of the game) goes to the network as usual.
  const url = new URL(request.url);
  const folder = url.origin + url.pathname === self.registration.scope;
  event.respondWith(caches.open(cacheName).then((cache) =>
    cache.match(folder ? 'index.html' : request, { ignoreSearch: true })
      .then((hit) => hit || fetch(request))));
});
