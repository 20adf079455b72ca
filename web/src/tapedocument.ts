// The game's tape as the document: its 20 standard levels edited in place. How a level lives in
// the tape and how one is written into a slot are the core's (`tomkrin extract` and `tomkrin
// insert`), reached through TapeSlots; the rules here (which slots changed, where a level moves
// to, a swap of two slots) only use them. No DOM.
import type { TomkrinCore } from "./core/api";
import { sameBytes } from "./state";

export const SLOT_COUNT = 20;

// The standard levels of a tape and the writing of one into a slot.
export interface TapeSlots {
  // The 20 levels as `tomkrin extract` gives them; empty for a tape that is not the game's.
  levels(tape: Uint8Array): Uint8Array[];
  // The tape with `level` in standard level `slot`, as `tomkrin insert` writes it; null refused.
  withLevel(tape: Uint8Array, slot: number, level: Uint8Array): Uint8Array | null;
}

export function coreTapeSlots(core: TomkrinCore, tapeName: string): TapeSlots {
  return {
    levels: (tape) => core.tapeLevels(tape, tapeName).levels.map((entry) => entry.level),
    withLevel: (tape, slot, level) =>
      core.insertLevel(tape, tapeName, level, tapeName, { slot: String(slot) }, false).tape ?? null,
  };
}

// The slots whose level differs from the one `base` (the tape as opened or last saved) holds.
export function changedSlots(levels: Uint8Array[], base: Uint8Array[]): Set<number> {
  const changed = new Set<number>();
  levels.forEach((level, n) => {
    if (!sameBytes(level, base[n] ?? null)) changed.add(n);
  });
  return changed;
}

// The slot next to `slot` in direction `step` (-1 left, +1 right); null past either end.
export function neighbourSlot(slot: number, step: -1 | 1): number | null {
  const next = slot + step;
  return next >= 0 && next < SLOT_COUNT ? next : null;
}

// The tape with the levels of slots `a` and `b` changed places; null if the core refuses either.
export function swapSlots(
  slots: TapeSlots,
  tape: Uint8Array,
  a: number,
  b: number,
): Uint8Array | null {
  const levels = slots.levels(tape);
  const levelA = levels[a];
  const levelB = levels[b];
  if (!levelA || !levelB) return null;
  const half = slots.withLevel(tape, a, levelB);
  return half && slots.withLevel(half, b, levelA);
}
