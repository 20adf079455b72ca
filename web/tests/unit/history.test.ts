import { describe, expect, it } from "vitest";
import { History } from "../../src/history";

describe("History", () => {
  it("undoes and redoes steps in order, and a new step drops what was undone", () => {
    const h = new History("a");
    h.push("b");
    h.push("c");
    expect(h.undo()).toBe("b");
    expect(h.undo()).toBe("a");
    expect(h.undo()).toBeUndefined();
    expect(h.current).toBe("a");
    expect(h.redo()).toBe("b");
    expect(h.current).toBe("b");
    h.push("d");
    expect(h.canRedo).toBe(false);
    expect(h.redo()).toBeUndefined();
    expect(h.undo()).toBe("b");
    expect(h.undo()).toBe("a");
  });

  it("keeps only the newest steps up to its limit, dropping the oldest past it", () => {
    const h = new History(0, 200);
    for (let i = 1; i <= 250; i++) h.push(i);
    expect(h.undoSteps).toBe(200);
    let last = h.current;
    while (h.canUndo) last = h.undo() as number;
    expect(last).toBe(50);
    expect(h.current).toBe(50);
    for (let i = 0; i < 200; i++) h.redo();
    expect(h.current).toBe(250);
  });

  it("amends the present without a step and keeps what is to be redone; reset forgets both", () => {
    const h = new History("a");
    h.push("b");
    h.push("c");
    h.undo();
    h.amend("b2");
    expect(h.undoSteps).toBe(1);
    expect(h.redo()).toBe("c");
    expect(h.undo()).toBe("b2");
    h.reset("z");
    expect([h.current, h.canUndo, h.canRedo]).toEqual(["z", false, false]);
  });
});
