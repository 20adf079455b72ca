// The level's canvas: the core's picture of the grid with the monsters' paths, drawn crisp at the
// largest integer zoom that fits, and the editor's mouse on it. A left click places the selected
// block and makes the cell the anchor, a right click paints the line from the anchor; holding a
// button and moving repeats the click at each new cell, the line first when both are held. A
// press on a monster path's end and a move drags that end instead. Touch: a tap is a left click,
// or a right click while the Line toggle is on; two fingers zoom (pinch.ts). Keyboard: arrows
// move a cell cursor, Enter or Space is a left click (Fill and Pick at the cursor), Shift+Enter or
// Shift+Space a right click.
// That is the Pencil; for the other tools a press, a move and a release only become the edits of
// edits.ts, and Alt+click picks with any tool. Over the picture: the selected area, the rectangle
// being drawn, the cells being pasted.
import type { PenButton, TomkrinCore } from "./core/api";
import { pictureCanvas } from "./dom";
import { Pinch } from "./pinch";
import type { Edits } from "./edits";
import { areaOf, inArea, type Area } from "./rules";
import { sameCell, type Cell, type EditorState } from "./state";

const LEFT = 1;
const RIGHT = 2;
// How near (in picture pixels) a press must be to a path's end to take hold of it, and how far
// the pointer must then move before it drags rather than clicks.
const END_REACH = 5;
const DRAG_START = 3;
const MAX_ZOOM = 8;
const MIN_TOUCH_CELL = 24; // px

interface Grid {
  width: number; // picture pixels
  height: number;
  cell: number; // picture pixels of a cell
  columns: number;
  rows: number;
}

interface PathEnd {
  monster: number;
  end: "start" | "end";
}

// A rectangle being drawn or an area being selected, from the cell pressed to the cell now under
// the pointer.
interface Span {
  from: Cell;
  to: Cell;
}

// Pasted cells being dragged: where they were and the cell that was pressed.
interface FloatDrag {
  from: Cell;
  at: Cell;
  moved: boolean;
}

interface EndDrag extends PathEnd {
  fromX: number;
  fromY: number;
  dragging: boolean;
  cell: Cell;
}

export class LevelCanvas {
  readonly grid: Grid;
  private zoom = 1;
  private readonly picture: HTMLCanvasElement;
  private cursor: Cell = { col: 0, row: 0 };
  private held = 0; // the buttons held in the stroke going on
  private lastCell: Cell | null = null;
  private endDrag: EndDrag | null = null;
  private span: Span | null = null;
  private floatDrag: FloatDrag | null = null;
  private readonly blockPictures: HTMLCanvasElement[];
  private readonly pinch = new Pinch();
  lineMode = false;

  constructor(
    private readonly core: TomkrinCore,
    private readonly state: EditorState,
    private readonly edits: Edits,
    private readonly canvas: HTMLCanvasElement,
    private readonly box: HTMLElement,
  ) {
    this.blockPictures = core.blockImages().map((image) => pictureCanvas(image));
    const image = core.canvasImage(state.level);
    const block = core.blockImages()[0];
    const cell = block ? block.width : 16;
    this.grid = {
      width: image.width,
      height: image.height,
      cell,
      columns: Math.round(image.width / cell),
      rows: Math.round(image.height / cell),
    };
    this.picture = document.createElement("canvas");
    this.picture.width = image.width;
    this.picture.height = image.height;

    canvas.addEventListener("pointerdown", (e) => this.onPointerDown(e));
    canvas.addEventListener("pointermove", (e) => this.onPointerMove(e));
    canvas.addEventListener("pointerup", (e) => this.onPointerUp(e));
    canvas.addEventListener("pointercancel", (e) => {
      this.pinch.up(e);
      this.finishStroke();
    });
    canvas.addEventListener("lostpointercapture", () => this.finishStroke());
    canvas.addEventListener("pointerleave", () => this.state.setHover(null));
    canvas.addEventListener("contextmenu", (e) => e.preventDefault());
    canvas.addEventListener("keydown", (e) => this.onKey(e));
    canvas.addEventListener("focus", () => this.draw());
    canvas.addEventListener("blur", () => this.draw());
    canvas.addEventListener("wheel", (e) => this.onWheel(e), { passive: false });
    // The box takes what the studio leaves it: the window, or the top bar wrapping otherwise.
    new ResizeObserver(() => this.fit()).observe(box);
    state.subscribe((changes) => {
      if (changes.has("view")) this.fit();
      else if (changes.has("level") || changes.has("area") || changes.has("floating")) this.draw();
    });
    this.fit();
  }

  // The largest integer zoom at which the picture fits its box (at least 1). A finger needs cells
  // of 24 px at least: on a touch screen a larger picture rather scrolls in the box.
  get fittingZoom(): number {
    const fits = Math.floor(
      Math.min(this.box.clientWidth / this.grid.width, this.box.clientHeight / this.grid.height),
    );
    const touch = window.matchMedia("(pointer: coarse)").matches;
    const least = touch ? Math.ceil(MIN_TOUCH_CELL / this.grid.cell) : 1;
    return Math.max(least, fits);
  }

  get currentZoom(): number {
    return this.zoom;
  }

  // The zoom chosen in the store, else the fitting one; a larger picture scrolls in its box.
  fit(): void {
    const zoom = this.state.zoom ?? this.fittingZoom;
    if (zoom === this.zoom && this.canvas.dataset.zoom) return;
    this.zoom = zoom;
    this.canvas.width = this.grid.width * zoom;
    this.canvas.height = this.grid.height * zoom;
    this.canvas.style.width = `${this.canvas.width}px`;
    this.canvas.style.height = `${this.canvas.height}px`;
    this.canvas.dataset.zoom = String(zoom);
    this.draw();
  }

  draw(): void {
    const image = this.core.canvasImage(this.state.level);
    const pictureContext = this.picture.getContext("2d");
    const context = this.canvas.getContext("2d");
    if (!pictureContext || !context) return;
    pictureContext.putImageData(
      new ImageData(image.data as Uint8ClampedArray<ArrayBuffer>, image.width, image.height),
      0,
      0,
    );
    context.imageSmoothingEnabled = false;
    context.drawImage(this.picture, 0, 0, this.canvas.width, this.canvas.height);
    if (this.state.showGrid) this.drawGrid(context);
    this.drawOverlays(context);
    if (this.canvas.matches(":focus-visible")) {
      const size = this.grid.cell * this.zoom;
      context.strokeStyle = "#facc15";
      context.lineWidth = 2;
      context.strokeRect(
        this.cursor.col * size + 1,
        this.cursor.row * size + 1,
        size - 2,
        size - 2,
      );
    }
  }

  private areaRect(area: Area): [number, number, number, number] {
    const size = this.grid.cell * this.zoom;
    return [area.col * size, area.row * size, area.width * size, area.height * size];
  }

  private drawGrid(context: CanvasRenderingContext2D): void {
    const size = this.grid.cell * this.zoom;
    context.strokeStyle = "rgba(255, 255, 255, 0.25)";
    context.lineWidth = 1;
    context.beginPath();
    for (let col = 1; col < this.grid.columns; col++) {
      context.moveTo(col * size + 0.5, 0);
      context.lineTo(col * size + 0.5, this.canvas.height);
    }
    for (let row = 1; row < this.grid.rows; row++) {
      context.moveTo(0, row * size + 0.5);
      context.lineTo(this.canvas.width, row * size + 0.5);
    }
    context.stroke();
  }

  // Ctrl+wheel zooms, one step a notch.
  private onWheel(e: WheelEvent): void {
    if (!(e.ctrlKey || e.metaKey) || e.deltaY === 0) return;
    e.preventDefault();
    this.zoomBy(e.deltaY < 0 ? 1 : -1);
  }

  zoomBy(step: number): void {
    this.state.setView({ zoom: Math.min(Math.max(this.zoom + step, 1), MAX_ZOOM) });
  }

  private drawOverlays(context: CanvasRenderingContext2D): void {
    const size = this.grid.cell * this.zoom;
    const floating = this.state.floating;
    if (floating) {
      const { clip, at } = floating;
      for (let y = 0; y < clip.height; y++)
        for (let x = 0; x < clip.width; x++) {
          const code = clip.codes[y * clip.width + x] ?? 0;
          const picture = this.blockPictures[this.core.blockIndexOfCode(code)];
          const left = (at.col + x) * size;
          const top = (at.row + y) * size;
          if (picture) context.drawImage(picture, left, top, size, size);
          else context.clearRect(left, top, size, size);
        }
    }
    const outlines: [Area | null, string][] = [
      [this.state.area, "#2563eb"],
      [
        this.span && this.state.tool === "rectangle" ? areaOf(this.span.from, this.span.to) : null,
        "#dc2626",
      ],
      [
        floating && { ...floating.at, width: floating.clip.width, height: floating.clip.height },
        "#16a34a",
      ],
    ];
    context.lineWidth = 2;
    context.setLineDash([4, 3]);
    for (const [area, colour] of outlines) {
      if (!area) continue;
      const [x, y, w, h] = this.areaRect(area);
      context.strokeStyle = colour;
      context.strokeRect(x + 1, y + 1, w - 2, h - 2);
    }
    context.setLineDash([]);
  }

  // The editor's clicks, by the pen's rules of the core, each a step of the history unless a
  // stroke gathers them.
  click(button: PenButton, cell: Cell): void {
    const code = this.core.blocks()[this.state.selectedBlock]?.code;
    if (code === undefined) return;
    const { level, anchor } = this.core.withClick(
      this.state.level,
      button,
      this.state.anchor,
      cell,
      code,
    );
    this.state.paint(level);
    if (!sameCell(anchor, this.state.anchor)) this.state.setAnchor(anchor);
    this.state.say(
      button === "left"
        ? this.core.leftClickStatus(cell.col, cell.row)
        : this.core.rightClickStatus(cell.col, cell.row),
    );
  }

  // A move with these buttons held repeats their clicks.
  private clicksOfMove(buttons: number, cell: Cell): void {
    for (const button of this.core.clicksOfMove((buttons & LEFT) !== 0, (buttons & RIGHT) !== 0))
      this.click(button, cell);
  }

  // The pointer's position in picture pixels.
  private pixelOf(e: PointerEvent): { x: number; y: number } {
    const rect = this.canvas.getBoundingClientRect();
    return { x: (e.clientX - rect.left) / this.zoom, y: (e.clientY - rect.top) / this.zoom };
  }

  private cellOf(e: PointerEvent): Cell | null {
    const { x, y } = this.pixelOf(e);
    const col = Math.floor(x / this.grid.cell);
    const row = Math.floor(y / this.grid.cell);
    if (col < 0 || row < 0 || col >= this.grid.columns || row >= this.grid.rows) return null;
    return { col, row };
  }

  // Which button a press stands for: touch and pen taps are left clicks, right clicks with Line.
  private buttonOf(e: PointerEvent): number {
    if (e.pointerType !== "mouse") return this.lineMode ? RIGHT : LEFT;
    if (e.button === 0) return LEFT;
    if (e.button === 2) return RIGHT;
    return 0;
  }

  private pathEndAt(x: number, y: number): PathEnd | null {
    const fields = this.core.levelFields(this.state.level);
    let best: PathEnd | null = null;
    let bestDistance = END_REACH;
    fields.monsters.forEach((m, monster) => {
      const ends: [PathEnd["end"], number, number][] = [
        ["start", m.startX, m.startY],
        ["end", m.endX, m.endY],
      ];
      for (const [end, mx, my] of ends) {
        const p = this.core.monsterPixel(mx, my);
        const distance = Math.hypot(p.px - x, p.py - y);
        if (distance <= bestDistance) {
          bestDistance = distance;
          best = { monster, end };
        }
      }
    });
    return best;
  }

  private press(button: number, cell: Cell): void {
    if (button === LEFT) this.click("left", cell);
    else if (button === RIGHT) this.click("right", cell);
  }

  // A press with any tool but the Pencil (or with Alt, or on pasted cells): the left button or a
  // tap only.
  private toolDown(e: PointerEvent, cell: Cell | null): void {
    if ((e.pointerType === "mouse" && e.button !== 0) || !cell) return;
    const floating = this.state.floating;
    if (floating) {
      const area = { ...floating.at, width: floating.clip.width, height: floating.clip.height };
      if (inArea(area, cell)) {
        this.floatDrag = { from: cell, at: floating.at, moved: false };
        this.canvas.setPointerCapture(e.pointerId);
      } else this.edits.commitFloating();
      return;
    }
    const tool = e.altKey ? "pick" : this.state.tool;
    if (tool === "pick") this.edits.pick(cell);
    else if (tool === "fill") this.edits.fill(cell);
    else if (tool === "rectangle" || tool === "select") {
      this.span = { from: cell, to: cell };
      this.canvas.setPointerCapture(e.pointerId);
      if (tool === "select") this.state.setArea(areaOf(cell, cell));
      else this.draw();
    }
  }

  private toolMove(cell: Cell): void {
    const drag = this.floatDrag;
    const floating = this.state.floating;
    if (drag && floating) {
      const at = {
        col: drag.at.col + cell.col - drag.from.col,
        row: drag.at.row + cell.row - drag.from.row,
      };
      if (sameCell(at, floating.at)) return;
      drag.moved = true;
      this.state.setFloating({ ...floating, at });
    } else if (this.span && !sameCell(cell, this.span.to)) {
      this.span.to = cell;
      if (this.state.tool === "select") this.state.setArea(areaOf(this.span.from, cell));
      else this.draw();
    }
  }

  private toolUp(e: PointerEvent): void {
    const cell = this.cellOf(e);
    if (cell) this.toolMove(cell);
    if (this.floatDrag && !this.floatDrag.moved) this.edits.commitFloating();
    const span = this.span;
    if (span && this.state.tool === "rectangle")
      this.edits.rectangle(span.from, span.to, e.shiftKey);
    this.floatDrag = null;
    this.span = null;
    this.draw();
  }

  private onPointerDown(e: PointerEvent): void {
    const button = this.buttonOf(e);
    if (button === 0) return;
    e.preventDefault();
    if (this.pinch.down(e, this.zoom)) {
      // The first finger's touch was the start of a pinch, not a click: take its painting back.
      this.span = null;
      this.floatDrag = null;
      this.endDrag = null;
      this.state.cancelStroke();
      this.held = 0;
      this.lastCell = null;
      this.draw();
      return;
    }
    if (this.pinch.active) return;
    this.canvas.focus({ preventScroll: true });
    const cell = this.cellOf(e);
    if (this.held === 0 && (this.state.floating || e.altKey || this.state.tool !== "pencil")) {
      this.toolDown(e, cell);
      return;
    }
    if (this.held === 0) {
      this.state.beginStroke();
      this.canvas.setPointerCapture(e.pointerId);
    }
    this.held |= button;
    if (!cell) return;
    this.lastCell = cell;
    const { x, y } = this.pixelOf(e);
    const end = button === LEFT && this.held === LEFT ? this.pathEndAt(x, y) : null;
    if (end) this.endDrag = { ...end, fromX: x, fromY: y, dragging: false, cell };
    else this.press(button, cell);
  }

  private onPointerMove(e: PointerEvent): void {
    const zoom = this.pinch.move(e);
    if (zoom !== null) {
      const bounded = Math.min(Math.max(zoom, 1), MAX_ZOOM);
      if (bounded !== this.zoom) this.state.setView({ zoom: bounded });
      return;
    }
    if (this.pinch.active) return;
    const at = this.cellOf(e);
    this.state.setHover(at);
    if (this.span || this.floatDrag) {
      if (at) this.toolMove(at);
      return;
    }
    if (this.held === 0) return;
    if (e.pointerType === "mouse") {
      // A second button pressed or one let go while the other is held comes as a move.
      const now = e.buttons & (LEFT | RIGHT);
      const pressed = now & ~this.held;
      this.held = now;
      if (now === 0) {
        this.finishStroke();
        return;
      }
      const cell = this.cellOf(e);
      if (pressed && cell) {
        this.endDrag = null;
        this.lastCell = cell;
        this.clicksOfMove(pressed, cell);
        return;
      }
    }
    if (this.endDrag) {
      this.moveEnd(e);
      return;
    }
    const cell = this.cellOf(e);
    if (
      !cell ||
      (this.lastCell && cell.col === this.lastCell.col && cell.row === this.lastCell.row)
    )
      return;
    this.lastCell = cell;
    this.clicksOfMove(this.held, cell);
  }

  private moveEnd(e: PointerEvent): void {
    const drag = this.endDrag;
    if (!drag) return;
    const { x, y } = this.pixelOf(e);
    if (!drag.dragging && Math.hypot(x - drag.fromX, y - drag.fromY) < DRAG_START) return;
    if (!drag.dragging) this.state.selectMonster(drag.monster);
    drag.dragging = true;
    // Kept to the cells' centres, so the end stays on the grid.
    const half = this.grid.cell / 2;
    const px = Math.min(Math.max(x, half), this.grid.width - half);
    const py = Math.min(Math.max(y, half), this.grid.height - half);
    const at = this.core.monsterOfPixel(px, py);
    const level = this.state.level;
    const fields = { ...this.core.selectMonster(level, drag.monster).fields };
    if (drag.end === "start") {
      fields.startX = this.core.formatHex(at.x);
      fields.startY = this.core.formatHex(at.y);
    } else {
      fields.endX = this.core.formatHex(at.x);
      fields.endY = this.core.formatHex(at.y);
    }
    this.state.setOptions(this.core.applyMonster(level, drag.monster, fields));
  }

  private onPointerUp(e: PointerEvent): void {
    const pinching = this.pinch.active;
    this.pinch.up(e);
    if (pinching) return;
    if (this.span || this.floatDrag) {
      this.toolUp(e);
      return;
    }
    const drag = this.endDrag;
    // A press on a path's end that never moved is a click after all.
    if (drag && !drag.dragging && this.buttonOf(e) === LEFT) this.click("left", drag.cell);
    this.endDrag = null;
    if (e.pointerType === "mouse") {
      this.held = e.buttons & (LEFT | RIGHT);
      if (this.held !== 0) return;
    }
    this.finishStroke();
  }

  private finishStroke(): void {
    if (this.span || this.floatDrag) {
      this.span = null;
      this.floatDrag = null;
      this.draw();
    }
    if (this.held === 0 && !this.endDrag && this.lastCell === null) return;
    this.held = 0;
    this.endDrag = null;
    this.lastCell = null;
    this.state.endStroke();
  }

  private onKey(e: KeyboardEvent): void {
    // The keys move and put down pasted cells then (the page's actions).
    if (this.state.floating) return;
    const moves: Record<string, [number, number]> = {
      ArrowLeft: [-1, 0],
      ArrowRight: [1, 0],
      ArrowUp: [0, -1],
      ArrowDown: [0, 1],
    };
    const move = moves[e.key];
    if (move) {
      e.preventDefault();
      const col = Math.min(Math.max(this.cursor.col + move[0], 0), this.grid.columns - 1);
      const row = Math.min(Math.max(this.cursor.row + move[1], 0), this.grid.rows - 1);
      this.cursor = { col, row };
      this.draw();
      return;
    }
    if (e.key === "Enter" || e.key === " ") {
      e.preventDefault();
      // Fill and Pick act on the cursor's cell; the tools that drag paint as the Pencil.
      if (this.state.tool === "fill") this.edits.fill(this.cursor);
      else if (this.state.tool === "pick") this.edits.pick(this.cursor);
      else if (e.shiftKey) this.click("right", this.cursor);
      else this.click("left", this.cursor);
      this.draw();
    }
  }
}
