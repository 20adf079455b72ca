// The tools' rules on the grid of block codes, as plain data: which cells a rectangle covers, the
// cells a fill reaches, what a selection copies, where pasted cells land, a mirrored selection.
// No DOM and no core: the page reads the level's codes through the core into a Grid, asks these
// rules which cells take which code, and writes them back through the core.

export interface Cell {
  col: number;
  row: number;
}

// A rectangle of cells, both corners included.
export interface Area {
  col: number;
  row: number;
  width: number;
  height: number;
}

// The level's cells: `codes[row * columns + col]`.
export interface Grid {
  columns: number;
  rows: number;
  codes: number[];
}

// A cell and the code it is to hold.
export interface CellCode extends Cell {
  code: number;
}

// Cells taken out of a level (copied, cut): the codes of an area, row by row.
export interface Clip {
  width: number;
  height: number;
  codes: number[];
}

export function codeAt(grid: Grid, cell: Cell): number {
  return grid.codes[cell.row * grid.columns + cell.col] ?? -1;
}

export function areaOf(a: Cell, b: Cell): Area {
  const col = Math.min(a.col, b.col);
  const row = Math.min(a.row, b.row);
  return {
    col,
    row,
    width: Math.abs(a.col - b.col) + 1,
    height: Math.abs(a.row - b.row) + 1,
  };
}

export function wholeGrid(grid: Grid): Area {
  return { col: 0, row: 0, width: grid.columns, height: grid.rows };
}

export function inArea(area: Area, cell: Cell): boolean {
  return (
    cell.col >= area.col &&
    cell.row >= area.row &&
    cell.col < area.col + area.width &&
    cell.row < area.row + area.height
  );
}

// The part of an area on the grid, null when none is.
export function clipArea(grid: Grid, area: Area): Area | null {
  const col = Math.max(area.col, 0);
  const row = Math.max(area.row, 0);
  const width = Math.min(area.col + area.width, grid.columns) - col;
  const height = Math.min(area.row + area.height, grid.rows) - row;
  return width > 0 && height > 0 ? { col, row, width, height } : null;
}

// The cells of the rectangle with corners a and b: its border, or every cell when filled; each
// once, row by row.
export function rectangleCells(a: Cell, b: Cell, filled: boolean): Cell[] {
  const area = areaOf(a, b);
  const last = { col: area.col + area.width - 1, row: area.row + area.height - 1 };
  const cells: Cell[] = [];
  for (let row = area.row; row <= last.row; row++)
    for (let col = area.col; col <= last.col; col++) {
      const border = row === area.row || row === last.row || col === area.col || col === last.col;
      if (filled || border) cells.push({ col, row });
    }
  return cells;
}

// The cell and every cell joined to it through up, down, left and right neighbours holding the
// same code as it.
export function floodCells(grid: Grid, start: Cell): Cell[] {
  const code = codeAt(grid, start);
  if (code < 0) return [];
  const seen = new Set<number>([start.row * grid.columns + start.col]);
  const cells: Cell[] = [];
  const todo: Cell[] = [start];
  for (let cell = todo.pop(); cell; cell = todo.pop()) {
    cells.push(cell);
    for (const [dc, dr] of [
      [1, 0],
      [-1, 0],
      [0, 1],
      [0, -1],
    ] as const) {
      const next = { col: cell.col + dc, row: cell.row + dr };
      if (next.col < 0 || next.row < 0 || next.col >= grid.columns || next.row >= grid.rows)
        continue;
      const index = next.row * grid.columns + next.col;
      if (seen.has(index) || grid.codes[index] !== code) continue;
      seen.add(index);
      todo.push(next);
    }
  }
  return cells;
}

export function copyArea(grid: Grid, area: Area): Clip {
  const codes: number[] = [];
  for (let row = area.row; row < area.row + area.height; row++)
    for (let col = area.col; col < area.col + area.width; col++)
      codes.push(codeAt(grid, { col, row }));
  return { width: area.width, height: area.height, codes };
}

// The clip's cells with its top-left corner on `at`; those that fall past the grid's edge are
// left out.
export function pastedCells(grid: Grid, clip: Clip, at: Cell): CellCode[] {
  const cells: CellCode[] = [];
  for (let y = 0; y < clip.height; y++)
    for (let x = 0; x < clip.width; x++) {
      const col = at.col + x;
      const row = at.row + y;
      if (col < 0 || row < 0 || col >= grid.columns || row >= grid.rows) continue;
      cells.push({ col, row, code: clip.codes[y * clip.width + x] ?? 0 });
    }
  return cells;
}

// Every cell of the area holding `code` (a cut, a Delete).
export function clearedCells(area: Area, code: number): CellCode[] {
  return rectangleCells(
    { col: area.col, row: area.row },
    { col: area.col + area.width - 1, row: area.row + area.height - 1 },
    true,
  ).map((cell) => ({ ...cell, code }));
}

// The area's cells mirrored in place: left to right (horizontally) or top to bottom.
export function flippedCells(grid: Grid, area: Area, horizontally: boolean): CellCode[] {
  const clip = copyArea(grid, area);
  const cells: CellCode[] = [];
  for (let y = 0; y < area.height; y++)
    for (let x = 0; x < area.width; x++) {
      const fromX = horizontally ? area.width - 1 - x : x;
      const fromY = horizontally ? y : area.height - 1 - y;
      cells.push({
        col: area.col + x,
        row: area.row + y,
        code: clip.codes[fromY * clip.width + fromX] ?? 0,
      });
    }
  return cells;
}
