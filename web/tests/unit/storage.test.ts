import { IDBFactory } from "fake-indexeddb";
import { describe, expect, it } from "vitest";
import { asSession, SessionStore, type StoredSession } from "../../src/storage";

const session: StoredSession = {
  level: new Uint8Array([0xfe, 1, 2, 3]),
  levelName: "level05.bin",
  savedLevel: new Uint8Array([0xfe, 1, 2]),
  tape: { name: "demo.cas", bytes: new Uint8Array([0x1f, 0xa6, 0xde, 0xba]) },
  savedTape: new Uint8Array([0x1f, 0xa6, 0xde]),
  tapeSlot: 7,
};

describe("SessionStore", () => {
  it("gives back the session it saved, across a new opening of the database", async () => {
    const factory = new IDBFactory();
    const store = await SessionStore.open(factory);
    expect(await store.load()).toBeNull();
    await store.save(session);
    store.close();
    const again = await SessionStore.open(factory);
    expect(await again.load()).toEqual(session);
    await again.save({ ...session, levelName: "other.bin", savedLevel: null, tape: null });
    expect(await again.load()).toEqual({
      ...session,
      levelName: "other.bin",
      savedLevel: null,
      tape: null,
    });
    await again.clear();
    expect(await again.load()).toBeNull();
    again.close();
  });

  it("takes a record of another shape (an older page's, a damaged one) for nothing stored", () => {
    expect(asSession({ ...session, level: "not bytes" })).toBeNull();
    expect(asSession({ level: session.level })).toBeNull();
    expect(asSession(null)).toBeNull();
    // A damaged tape alone is dropped; the level is kept.
    expect(asSession({ ...session, tape: { name: 3 } })).toEqual({ ...session, tape: null });
  });
});
