import { describe, expect, it } from "vitest";
import {
  areaOf,
  copyArea,
  flippedCells,
  floodCells,
  pastedCells,
  rectangleCells,
  type Cell,
  type CellCode,
  type Grid,
} from "../../src/rules";

// A grid from rows of characters, one a cell.
function grid(...rows: string[]): Grid {
  return {
    columns: rows[0]?.length ?? 0,
    rows: rows.length,
    codes: rows.flatMap((r) => [...r].map((c) => c.charCodeAt(0))),
  };
}

function picture(g: Grid, cells: (Cell | CellCode)[], mark = "#"): string[] {
  const codes = [...g.codes];
  for (const c of cells)
    codes[c.row * g.columns + c.col] = "code" in c ? c.code : mark.charCodeAt(0);
  const rows: string[] = [];
  for (let r = 0; r < g.rows; r++)
    rows.push(String.fromCharCode(...codes.slice(r * g.columns, (r + 1) * g.columns)));
  return rows;
}

describe("the tools' rules", () => {
  const blank = grid(".....", ".....", ".....", ".....");

  it("a rectangle from either corner covers its border, or every cell with each once", () => {
    expect(picture(blank, rectangleCells({ col: 3, row: 3 }, { col: 0, row: 1 }, false))).toEqual([
      ".....",
      "####.",
      "#..#.",
      "####.",
    ]);
    const filled = rectangleCells({ col: 1, row: 0 }, { col: 2, row: 2 }, true);
    expect(filled).toHaveLength(6);
    expect(picture(blank, filled)).toEqual([".##..", ".##..", ".##..", "....."]);
    expect(rectangleCells({ col: 2, row: 2 }, { col: 2, row: 2 }, false)).toEqual([
      { col: 2, row: 2 },
    ]);
  });

  it("a fill reaches the cells of the same code joined through sides, not corners", () => {
    const g = grid("aab.a", "b.b.a", "..ba.", "bb...");
    expect(picture(g, floodCells(g, { col: 1, row: 1 }))).toEqual([
      "aab.a",
      "b#b.a",
      "##ba.",
      "bb...",
    ]);
    expect(picture(g, floodCells(g, { col: 4, row: 3 }))).toEqual([
      "aab.a",
      "b.b.a",
      "..ba#",
      "bb###",
    ]);
    expect(picture(g, floodCells(g, { col: 0, row: 0 }))).toEqual([
      "##b.a",
      "b.b.a",
      "..ba.",
      "bb...",
    ]);
  });

  it("copied cells paste at any corner, clipped at the grid's edges, and flip in place", () => {
    const g = grid("abc..", "def..", ".....", ".....");
    const clip = copyArea(g, areaOf({ col: 2, row: 1 }, { col: 0, row: 0 }));
    expect(clip).toEqual({ width: 3, height: 2, codes: [..."abcdef"].map((c) => c.charCodeAt(0)) });
    expect(picture(blank, pastedCells(blank, clip, { col: 3, row: 3 }))).toEqual([
      ".....",
      ".....",
      ".....",
      "...ab",
    ]);
    expect(picture(blank, pastedCells(blank, clip, { col: -1, row: -1 }))).toEqual([
      "ef...",
      ".....",
      ".....",
      ".....",
    ]);
    const area = areaOf({ col: 0, row: 0 }, { col: 2, row: 1 });
    expect(picture(g, flippedCells(g, area, true))).toEqual(["cba..", "fed..", ".....", "....."]);
    expect(picture(g, flippedCells(g, area, false))).toEqual(["def..", "abc..", ".....", "....."]);
  });
});
