// Beside the status line: the cell under the pointer, its block, and what the tool in use would do
// there.
import type { TomkrinCore } from "./core/api";
import type { Edits } from "./edits";
import { floodCells } from "./rules";
import type { Change, EditorState } from "./state";

export function showHover(
  core: TomkrinCore,
  state: EditorState,
  edits: Edits,
  target: HTMLElement,
): void {
  const blockName = (code: number) => {
    const block = core.blocks()[core.blockIndexOfCode(code)];
    return block ? block.name : `code 0x${core.formatHex(code)} (no block)`;
  };
  const describe = (): string => {
    const cell = state.hover;
    if (!cell) return "";
    const code = core.cellCode(state.level, cell.col, cell.row);
    const selected = core.blocks()[state.selectedBlock]?.name ?? "";
    const where = `(${cell.col}, ${cell.row}) ${blockName(code)}`;
    if (state.floating) return `${where}: a click puts the pasted cells down`;
    switch (state.tool) {
      case "pencil":
        return `${where}: Pencil places ${selected}`;
      case "rectangle":
        return `${where}: Rectangle of ${selected} from here`;
      case "fill": {
        // The whole grid read only here, so that painting under the pointer stays quick.
        const count = floodCells(edits.grid, cell).length;
        return `${where}: Fill gives ${count} ${count === 1 ? "cell" : "cells"} ${selected}`;
      }
      case "pick":
        return `${where}: Pick selects ${blockName(code)}`;
      case "select":
        return `${where}: Select from here`;
    }
  };
  const shown: Change[] = ["hover", "tool", "selection", "floating", "level"];
  state.subscribe((changes) => {
    if (shown.some((change) => changes.has(change))) target.textContent = describe();
  });
}
