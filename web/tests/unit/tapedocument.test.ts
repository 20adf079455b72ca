import { describe, expect, it } from "vitest";
import { changedSlots, neighbourSlot, swapSlots, type TapeSlots } from "../../src/tapedocument";

// A tape of one byte a slot, each level that one byte; a level of 0xFF is refused.
const oneByteSlots: TapeSlots = {
  levels: (tape) => [...tape].map((byte) => Uint8Array.of(byte)),
  withLevel: (tape, slot, level) => {
    if (level[0] === 0xff) return null;
    const next = tape.slice();
    next[slot] = level[0] ?? 0;
    return next;
  },
};

describe("the tape as the document", () => {
  it("marks the slots whose level differs from the tape as opened", () => {
    const level = (byte: number) => Uint8Array.of(byte, 1);
    const base = [level(1), level(2), level(3)];
    expect([...changedSlots([level(1), level(2), level(3)], base)]).toEqual([]);
    expect([...changedSlots([level(3), level(2), Uint8Array.of(3)], base)]).toEqual([0, 2]);
  });

  it("moves a level to a neighbour only inside the 20 slots", () => {
    expect(neighbourSlot(0, -1)).toBeNull();
    expect(neighbourSlot(0, 1)).toBe(1);
    expect(neighbourSlot(19, -1)).toBe(18);
    expect(neighbourSlot(19, 1)).toBeNull();
  });

  it("swaps two slots, leaving the others, or nothing when the core refuses one", () => {
    const tape = Uint8Array.of(10, 11, 12, 13);
    expect([...(swapSlots(oneByteSlots, tape, 1, 3) ?? [])]).toEqual([10, 13, 12, 11]);
    expect(swapSlots(oneByteSlots, Uint8Array.of(10, 0xff), 0, 1)).toBeNull();
    expect(swapSlots(oneByteSlots, tape, 1, 7)).toBeNull();
    expect([...tape]).toEqual([10, 11, 12, 13]);
  });
});
