// What the tools do to the level and the store: each change of the cells one step of the history.
// The rules (which cells) are rules.ts's; the level's codes are read and written through the core.
import type { LevelFile, TomkrinCore } from "./core/api";
import {
  clearedCells,
  clipArea,
  codeAt,
  copyArea,
  flippedCells,
  floodCells,
  pastedCells,
  rectangleCells,
  wholeGrid,
  type Cell,
  type CellCode,
  type Grid,
} from "./rules";
import type { EditorState } from "./state";

export const COLUMNS = 24;
export const ROWS = 18;
// What a cut or Delete leaves in the cells.
export const AIR = 0x20;

export function gridOf(core: TomkrinCore, level: LevelFile): Grid {
  const codes: number[] = [];
  for (let row = 0; row < ROWS; row++)
    for (let col = 0; col < COLUMNS; col++) codes.push(core.cellCode(level, col, row));
  return { columns: COLUMNS, rows: ROWS, codes };
}

function withCodes(core: TomkrinCore, level: LevelFile, cells: CellCode[]): LevelFile {
  let changed = level;
  for (const { col, row, code } of cells) changed = core.withCell(changed, col, row, code);
  return changed;
}

export class Edits {
  constructor(
    private readonly core: TomkrinCore,
    private readonly state: EditorState,
  ) {}

  get grid(): Grid {
    return gridOf(this.core, this.state.level);
  }

  // The selected block's code, undefined while none is.
  private get code(): number | undefined {
    return this.core.blocks()[this.state.selectedBlock]?.code;
  }

  private paint(cells: CellCode[]): void {
    this.state.paint(withCodes(this.core, this.state.level, cells));
  }

  private paintWithSelected(cells: Cell[]): void {
    const code = this.code;
    if (code !== undefined) this.paint(cells.map((cell) => ({ ...cell, code })));
  }

  rectangle(a: Cell, b: Cell, filled: boolean): void {
    this.paintWithSelected(rectangleCells(a, b, filled));
  }

  fill(cell: Cell): void {
    this.paintWithSelected(floodCells(this.grid, cell));
  }

  // The cell's block becomes the selected one, said as the palette says it.
  pick(cell: Cell): void {
    const code = codeAt(this.grid, cell);
    const index = this.core.blockIndexOfCode(code);
    if (index < 0) {
      this.state.say(`No block has the code 0x${this.core.formatHex(code)}`);
      return;
    }
    this.state.selectBlock(index);
    this.state.say(this.core.selectedBlockStatus(index));
  }

  copy(): void {
    const area = this.state.area;
    if (area) this.state.setClipboard(copyArea(this.grid, area));
  }

  // Leaves Air in the selected cells.
  clear(): void {
    const area = this.state.area;
    if (area) this.paint(clearedCells(area, AIR));
  }

  cut(): void {
    this.copy();
    this.clear();
  }

  // The copied cells float with their top-left corner on the cell under the pointer, or on the
  // selection's corner when the pointer is off the canvas.
  paste(): void {
    const clip = this.state.clipboard;
    if (!clip) return;
    const at = this.state.hover ?? this.state.area ?? { col: 0, row: 0 };
    this.state.setFloating({ clip, at: { col: at.col, row: at.row } });
  }

  moveFloating(cols: number, rows: number): void {
    const floating = this.state.floating;
    if (!floating) return;
    const at = { col: floating.at.col + cols, row: floating.at.row + rows };
    this.state.setFloating({ ...floating, at });
  }

  // The floating cells put down: one step; the area they cover becomes the selection.
  commitFloating(): void {
    const floating = this.state.floating;
    if (!floating) return;
    this.state.setFloating(null);
    this.paint(pastedCells(this.grid, floating.clip, floating.at));
    const { clip, at } = floating;
    this.state.setArea(clipArea(this.grid, { ...at, width: clip.width, height: clip.height }));
  }

  dropFloating(): void {
    this.state.setFloating(null);
  }

  flip(horizontally: boolean): void {
    const grid = this.grid;
    this.paint(flippedCells(grid, this.state.area ?? wholeGrid(grid), horizontally));
  }
}
