// The page as an installed app: the service worker that keeps the site for use with no network
// (the served site only), the request that the browser never evict the kept session, and the
// files the system opens with the app (its launchQueue, where the browser has one).

// The Launch Handler API's queue (Chromium), absent from the DOM types.
interface LaunchParams {
  readonly files: readonly FileSystemHandle[];
}
interface LaunchQueue {
  setConsumer(consumer: (params: LaunchParams) => void): void;
}

// Only the served site has a worker (the build writes sw.js beside the page): the single file,
// opened from the disk, has no origin a worker could belong to.
export function keepSiteOffline(): void {
  if (!import.meta.env.PROD || import.meta.env.MODE === "single") return;
  if (location.protocol === "file:" || !("serviceWorker" in navigator)) return;
  navigator.serviceWorker.register("./sw.js").catch(() => undefined); // the page works without
}

// The level and the tape are kept in IndexedDB, which the browser may clear when the disk runs
// short unless the site's storage is persistent. Asked once a visit, only while not yet granted.
export async function keepStorage(): Promise<void> {
  try {
    if (!(await navigator.storage.persisted())) await navigator.storage.persist();
  } catch {
    // refused (a page from the disk, a private window): the session is kept while it lasts
  }
}

function isFile(handle: FileSystemHandle): handle is FileSystemFileHandle {
  return handle.kind === "file";
}

// Files launched with the app, given to `open` as Open gives the files chosen. The browser keeps
// the launch until the page takes it, and sends later launches to this window too.
export function openLaunchedFiles(open: (files: File[]) => Promise<void>): void {
  const queue = (window as Window & { launchQueue?: LaunchQueue }).launchQueue;
  queue?.setConsumer((params) => {
    const handles = params.files.filter(isFile);
    if (handles.length > 0) void Promise.all(handles.map((h) => h.getFile())).then(open);
  });
}
