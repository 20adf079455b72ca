// The page's session kept in the browser's IndexedDB: the level being edited and the opened tape,
// so that a reload or a crashed tab gives them back. No DOM here; the factory is a parameter so
// the store can be exercised with any IndexedDB implementation.

export interface StoredFile {
  name: string;
  bytes: Uint8Array;
}

export interface StoredSession {
  level: Uint8Array;
  // The name the level is saved under.
  levelName: string;
  // The bytes last saved or opened: the level differs from them when it has unsaved changes.
  savedLevel: Uint8Array | null;
  tape: StoredFile | null;
  // The tape as last opened or saved, so that its unsaved changes stay unsaved (and asked about)
  // after a reload; absent in an older record: the tape counts as saved.
  savedTape?: Uint8Array;
  // The slot of the tape the level is, so that its changes still go into the tape.
  tapeSlot?: number;
}

const DATABASE = "tomkrin-web";
const STORE = "session";
const KEY = "current";

function request<T>(req: IDBRequest<T>): Promise<T> {
  return new Promise((resolve, reject) => {
    req.onsuccess = () => resolve(req.result);
    req.onerror = () => reject(req.error ?? new Error("IndexedDB request failed"));
  });
}

function openDatabase(factory: IDBFactory): Promise<IDBDatabase> {
  const req = factory.open(DATABASE, 1);
  req.onupgradeneeded = () => {
    req.result.createObjectStore(STORE);
  };
  return request(req);
}

function isBytes(value: unknown): value is Uint8Array {
  return value instanceof Uint8Array;
}

function asFile(value: unknown): StoredFile | null {
  if (typeof value !== "object" || value === null) return null;
  const { name, bytes } = value as Partial<StoredFile>;
  return typeof name === "string" && isBytes(bytes) ? { name, bytes } : null;
}

// What was stored, when it has the shape of a session; anything else counts as nothing stored.
export function asSession(value: unknown): StoredSession | null {
  if (typeof value !== "object" || value === null) return null;
  const v = value as Record<string, unknown>;
  if (!isBytes(v.level) || typeof v.levelName !== "string") return null;
  return {
    level: v.level,
    levelName: v.levelName,
    savedLevel: isBytes(v.savedLevel) ? v.savedLevel : null,
    tape: asFile(v.tape),
    ...(isBytes(v.savedTape) ? { savedTape: v.savedTape } : {}),
    ...(typeof v.tapeSlot === "number" ? { tapeSlot: v.tapeSlot } : {}),
  };
}

export class SessionStore {
  private constructor(private readonly db: IDBDatabase) {}

  static async open(factory: IDBFactory = indexedDB): Promise<SessionStore> {
    return new SessionStore(await openDatabase(factory));
  }

  async load(): Promise<StoredSession | null> {
    const tx = this.db.transaction(STORE, "readonly");
    return asSession(await request(tx.objectStore(STORE).get(KEY)));
  }

  // Resolves once the session is written for good (the transaction completed).
  save(session: StoredSession): Promise<void> {
    return new Promise((resolve, reject) => {
      const tx = this.db.transaction(STORE, "readwrite");
      tx.objectStore(STORE).put(session, KEY);
      tx.oncomplete = () => resolve();
      tx.onerror = () => reject(tx.error ?? new Error("IndexedDB write failed"));
      tx.onabort = () => reject(tx.error ?? new Error("IndexedDB write aborted"));
    });
  }

  async clear(): Promise<void> {
    const tx = this.db.transaction(STORE, "readwrite");
    await request(tx.objectStore(STORE).delete(KEY));
  }

  close(): void {
    this.db.close();
  }
}
