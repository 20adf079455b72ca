// Beside the status line: the cell under the pointer, its block, and what the tool in use would do
// there.
import type { TomkrinCore } from "./core/api";
import type { Edits } from "./edits";
import { codeAt, floodCells } from "./rules";
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
    const grid = edits.grid;
    const code = codeAt(grid, cell);
    const selected = core.blocks()[state.selectedBlock]?.name ?? "";
    const where = `(${cell.col}, ${cell.row}) ${blockName(code)}`;
    if (state.floating) return `${where}: a click puts the pasted cells down`;
    switch (state.tool) {
      case "pencil":
        return `${where}: Pencil places ${selected}`;
      case "rectangle":
        return `${where}: Rectangle of ${selected} from here`;
      case "fill": {
        const count = floodCells(grid, cell).length;
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
