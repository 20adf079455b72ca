// The site's service worker: keeps every file of one build of the site in a cache of that build, so
// that after one visit the editor loads and works with no network. A new build's worker fills a
// cache of its own, takes over at once and drops the old build's: the page takes every file of its
// build as it starts (the decoder's worker is inlined in its script), so a window still open on
// the old build lacks nothing, and the next load is the new build. The build (installable.ts)
// puts the build's version and the list of its files in front.
declare const SITE_VERSION: string;
declare const SITE_FILES: readonly string[];

// What this worker uses of the service worker's scope (the page's DOM types lack it).
interface ExtendableEvent extends Event {
  waitUntil(promise: Promise<unknown>): void;
}
interface FetchEvent extends ExtendableEvent {
  readonly request: Request;
  respondWith(response: Promise<Response>): void;
}
interface WorkerScope {
  readonly registration: { readonly scope: string };
  readonly clients: { claim(): Promise<void> };
  skipWaiting(): Promise<void>;
  addEventListener(type: "install" | "activate", listener: (event: ExtendableEvent) => void): void;
  addEventListener(type: "fetch", listener: (event: FetchEvent) => void): void;
}

const worker = self as unknown as WorkerScope;
// Named for the site's place too: two copies of the editor served from one origin keep apart.
const prefix = `tomkrin ${worker.registration.scope} `;
const cacheName = prefix + SITE_VERSION;

worker.addEventListener("install", (event) => {
  event.waitUntil(
    caches
      .open(cacheName)
      // Past the browser's HTTP cache, which may still hold an older build's page.
      .then((cache) =>
        cache.addAll(SITE_FILES.map((file) => new Request(file, { cache: "reload" }))),
      )
      .then(() => worker.skipWaiting()),
  );
});

worker.addEventListener("activate", (event) => {
  event.waitUntil(
    caches
      .keys()
      .then((names) =>
        Promise.all(
          names
            .filter((name) => name.startsWith(prefix) && name !== cacheName)
            .map((name) => caches.delete(name)),
        ),
      )
      .then(() => worker.clients.claim()),
  );
});

// Every page of the site is the editor's page, kept as the site's own address ("./"; the build
// lists it so in place of index.html, which some servers answer with a redirect to it).
async function fromCache(request: Request): Promise<Response> {
  const cache = await caches.open(cacheName);
  const kept =
    request.mode === "navigate"
      ? await cache.match("./")
      : await cache.match(request, { ignoreSearch: true });
  return kept ?? fetch(request);
}

worker.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== location.origin) return;
  event.respondWith(fromCache(request));
});

export {}; // a module to the type checker; the build makes it a plain script
