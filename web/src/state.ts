// The one state of the page: the level being edited and the opened tape with their undo history,
// the selected block, the anchor of the line tool, and the interface's own state: the tool, the
// selected area, the clipboard, the cells being pasted, the status line. Every change goes
// through here (the actions of actions.ts, the views) and is announced to the views, which draw
// from it. No DOM.
import { History } from "./history";
import type { Area, Clip } from "./rules";
import type { TapeSlots } from "./tapedocument";

// The level being edited: the level file's bytes and where it saves to.
export interface LevelDocument {
  level: Uint8Array;
  // The file name a Save gives it.
  name: string;
  // Set for a level opened in place (File System Access API): Save writes back into that file.
  handle: FileSystemFileHandle | null;
  // The standard level of the opened tape it is (opened from the tape's sheet, or inserted into
  // that slot); absent for a level of a file or a new one. Every change of such a level goes into
  // the tape at once, and Insert into tape offers that slot.
  tapeSlot?: number;
}

export interface OpenedFile {
  name: string;
  bytes: Uint8Array;
}

export interface Cell {
  col: number;
  row: number;
}

// What a step of the history holds: the level and the tape as they were then, so that undoing an
// insertion or the opening of a tape gives the tape back as well.
interface Step {
  document: LevelDocument;
  tape: OpenedFile | null;
}

// What changed, so that each view redraws only what it shows. "document": another level may be
// the one edited now (opened, or reached by undo or redo), not only other bytes of the same one.
export type Change =
  | "level"
  | "tool"
  | "area"
  | "clipboard"
  | "floating"
  | "status"
  | "hover"
  | "view"
  | "options"
  | "selection"
  | "monster"
  | "anchor"
  | "tape"
  | "history"
  | "saved"
  | "document";

export type Listener = (changes: ReadonlySet<Change>) => void;

export type Tool = "pencil" | "rectangle" | "fill" | "pick" | "select";

// Pasted cells not yet part of the level: the clip with its top-left corner on `at` (which may lie
// off the grid: the cells past its edge are left out when they are put down).
export interface Floating {
  clip: Clip;
  at: Cell;
}

export function sameBytes(a: Uint8Array | null, b: Uint8Array | null): boolean {
  if (a === b) return true;
  if (a === null || b === null) return false;
  if (a.length !== b.length) return false;
  for (let i = 0; i < a.length; i++) if (a[i] !== b[i]) return false;
  return true;
}

export function sameCell(a: Cell, b: Cell): boolean {
  return a.col === b.col && a.row === b.row;
}

export class EditorState {
  private readonly history: History<Step>;
  private listeners: Listener[] = [];
  private strokeOpen = false;
  private strokeStepped = false;
  // The option field being typed in, whose present step its further typing amends.
  private fieldEdit: string | null = null;

  selectedBlock = 0;
  // The monster the monster options show, 0 to 3.
  selectedMonster = 0;
  anchor: Cell = { col: 0, row: 0 };
  tool: Tool = "pencil";
  // The area the Select tool marked; null: none (the flips then take the whole grid).
  area: Area | null = null;
  // Copied cells: they outlive the level they came from, so they paste into another.
  clipboard: Clip | null = null;
  floating: Floating | null = null;
  // The cell under the pointer, null off the canvas.
  hover: Cell | null = null;
  status = "";
  // The canvas's grid lines, and its zoom as chosen (null: the largest that fits).
  showGrid = false;
  zoom: number | null = null;
  // The bytes last saved or opened; the level has unsaved changes while it differs from them.
  savedLevel: Uint8Array | null;
  // The same for the tape.
  private savedTape: Uint8Array | null = null;
  // The core's writing of a level into a tape's slot, for the levels opened from the tape.
  private slotsOf: ((tapeName: string) => TapeSlots) | null = null;

  // `steps`: how many the undo history keeps, the history's own limit unless given.
  constructor(initial: LevelDocument, steps?: number) {
    this.history = new History<Step>({ document: initial, tape: null }, steps);
    this.savedLevel = initial.level;
  }

  get document(): LevelDocument {
    return this.history.current.document;
  }

  get level(): Uint8Array {
    return this.history.current.document.level;
  }

  get tape(): OpenedFile | null {
    return this.history.current.tape;
  }

  // The tape was changed (a level edited, moved or inserted) since it was opened or saved.
  get tapeUnsaved(): boolean {
    const tape = this.tape;
    return tape !== null && !sameBytes(tape.bytes, this.savedTape);
  }

  // The tape as it was opened or last saved: what the sheet's changed levels differ from, and
  // what Revert level brings a level back to.
  get tapeBase(): Uint8Array | null {
    return this.savedTape;
  }

  // The slot of the opened tape the level being edited is, if it is one.
  get openSlot(): number | undefined {
    return this.tape ? this.document.tapeSlot : undefined;
  }

  // Given once at start-up: how a level is written into a slot of a tape (the core's rule).
  writeTapeLevelsWith(slotsOf: (tapeName: string) => TapeSlots): void {
    this.slotsOf = slotsOf;
  }

  get canUndo(): boolean {
    return this.history.canUndo;
  }

  get canRedo(): boolean {
    return this.history.canRedo;
  }

  // A level of the tape keeps its changes in the tape, which is what then is unsaved.
  get levelUnsaved(): boolean {
    return this.openSlot === undefined && !sameBytes(this.level, this.savedLevel);
  }

  get unsaved(): boolean {
    return this.levelUnsaved || this.tapeUnsaved;
  }

  private push(step: Partial<Step>): void {
    this.history.push({ ...this.history.current, ...step });
    this.fieldEdit = null;
  }

  // A change of the level's bytes: a step, or part of the stroke or field edit going on. A level
  // of the tape is written into its slot in the same step. Whether the tape changed.
  private change(level: Uint8Array, field: string | null): boolean {
    const document = { ...this.document, level };
    const tape = this.tapeWith(document);
    const amend =
      (this.strokeOpen && this.strokeStepped) || (field !== null && field === this.fieldEdit);
    const tapeChanged = tape !== this.tape;
    if (amend) this.history.amend({ document, tape });
    else this.push({ document, tape });
    if (this.strokeOpen) this.strokeStepped = true;
    this.fieldEdit = field;
    return tapeChanged;
  }

  // The tape with the level written into its slot, when it is a level of the tape.
  private tapeWith(document: LevelDocument): OpenedFile | null {
    const tape = this.tape;
    const slot = document.tapeSlot;
    if (!tape || slot === undefined || !this.slotsOf) return tape;
    const bytes = this.slotsOf(tape.name).withLevel(tape.bytes, slot, document.level);
    return bytes && !sameBytes(bytes, tape.bytes) ? { name: tape.name, bytes } : tape;
  }

  subscribe(listener: Listener): void {
    this.listeners.push(listener);
  }

  private emit(...changes: Change[]): void {
    const set = new Set(changes);
    for (const listener of this.listeners) listener(set);
  }

  // A stroke gathers every change between a pointer press and its release into one step.
  beginStroke(): void {
    this.strokeOpen = true;
    this.strokeStepped = false;
  }

  endStroke(): void {
    this.strokeOpen = false;
    this.strokeStepped = false;
  }

  // The stroke going on is taken back as if it never was (it became a pinch).
  cancelStroke(): void {
    if (this.strokeOpen && this.strokeStepped) {
      this.history.drop();
      this.emit("level", "options", "history");
    }
    this.endStroke();
  }

  // A change of the cells (a click, a line, a stroke's part). Nothing changes for equal bytes.
  paint(level: Uint8Array): void {
    if (sameBytes(level, this.level)) return;
    const tape = this.change(level, null);
    this.emit("level", "history", ...(tape ? (["tape", "saved"] as const) : []));
  }

  // A change through the option windows or a monster's path on the canvas: a step of its own,
  // or a part of the stroke that drags a path's end. `field` names the option field being typed
  // in: its typing is one step until endFieldEdit.
  setOptions(level: Uint8Array, field: string | null = null): void {
    if (sameBytes(level, this.level)) return;
    const tape = this.change(level, field);
    this.emit("level", "options", "history", ...(tape ? (["tape", "saved"] as const) : []));
  }

  // The field was left: typing in it again makes a new step.
  endFieldEdit(): void {
    this.fieldEdit = null;
  }

  // New, Open, a level of the tape: a step that replaces the whole document, saved as it is.
  replaceDocument(doc: LevelDocument): void {
    this.push({ document: doc });
    this.savedLevel = doc.level;
    this.anchor = { col: 0, row: 0 };
    // The selection was of the level that was shown; the clipboard stays, to paste into this one.
    this.floating = null;
    this.area = null;
    this.emit("level", "options", "history", "saved", "anchor", "document", "floating", "area");
  }

  // A session restored from storage: its level with nothing to undo.
  restore(doc: LevelDocument, savedLevel: Uint8Array | null): void {
    this.history.reset({ document: doc, tape: this.tape });
    this.savedLevel = savedLevel;
    this.fieldEdit = null;
    this.emit("level", "options", "history", "saved", "document");
  }

  undo(): void {
    this.travel(() => this.history.undo());
  }

  redo(): void {
    this.travel(() => this.history.redo());
  }

  // Undo or redo: the tape and the level's origin are announced only when they differ, so that a
  // recording of the tape or a slot typed for Insert stays through the undoing of a paint.
  private travel(move: () => Step | undefined): void {
    const before = this.history.current;
    const after = move();
    if (after === undefined) return;
    this.fieldEdit = null;
    // Cells being pasted belong to the level that was shown: they go with it.
    this.floating = null;
    const changes: Change[] = ["level", "options", "history", "saved", "floating"];
    if (after.tape !== before.tape) changes.push("tape");
    if (after.document.tapeSlot !== before.document.tapeSlot) changes.push("document");
    this.emit(...changes);
  }

  // After a Save: the level as written, under the name and handle it was written to.
  markSaved(name: string, handle: FileSystemFileHandle | null): void {
    this.history.amend({ ...this.history.current, document: { ...this.document, name, handle } });
    this.savedLevel = this.level;
    this.emit("saved");
  }

  selectBlock(index: number): void {
    this.selectedBlock = index;
    this.emit("selection");
  }

  selectMonster(k: number): void {
    this.selectedMonster = k;
    this.emit("monster");
  }

  setTool(tool: Tool): void {
    this.tool = tool;
    this.emit("tool");
  }

  setArea(area: Area | null): void {
    this.area = area;
    this.emit("area");
  }

  setClipboard(clip: Clip): void {
    this.clipboard = clip;
    this.emit("clipboard");
  }

  setFloating(floating: Floating | null): void {
    this.floating = floating;
    this.emit("floating");
  }

  setHover(cell: Cell | null): void {
    if (cell === this.hover || (cell && this.hover && sameCell(cell, this.hover))) return;
    this.hover = cell;
    this.emit("hover");
  }

  setView(view: { showGrid?: boolean; zoom?: number | null }): void {
    if (view.showGrid !== undefined) this.showGrid = view.showGrid;
    if (view.zoom !== undefined) this.zoom = view.zoom;
    this.emit("view");
  }

  say(text: string): void {
    this.status = text;
    this.emit("status");
  }

  setAnchor(cell: Cell): void {
    this.anchor = cell;
    this.emit("anchor");
  }

  // A tape opened (a file, a decoded recording): a step, saved as it is. A level of the tape
  // that was open stays open, as a level of its own.
  openTape(tape: OpenedFile): void {
    const document = { ...this.document };
    delete document.tapeSlot;
    this.push({ tape, document });
    this.savedTape = tape.bytes;
    this.emit("tape", "history", "saved", "document");
  }

  // The session's tape given back, with the restored level: no step of its own. `saved`: the tape
  // as last opened or saved.
  restoreTape(tape: OpenedFile, saved: Uint8Array): void {
    this.history.amend({ ...this.history.current, tape });
    this.savedTape = saved;
    this.emit("tape", "saved", "document");
  }

  // A level inserted: the tape's new bytes, a step.
  changeTape(bytes: Uint8Array): void {
    const tape = this.tape;
    if (!tape || sameBytes(bytes, tape.bytes)) return;
    this.push({ tape: { name: tape.name, bytes } });
    this.emit("tape", "history", "saved");
  }

  // Move, Revert, Insert into a slot: the tape's new bytes and the level of it now open, one step.
  changeTapeLevel(bytes: Uint8Array, document: LevelDocument): void {
    const tape = this.tape;
    if (!tape) return;
    const sameTape = sameBytes(bytes, tape.bytes);
    if (
      sameTape &&
      document.tapeSlot === this.document.tapeSlot &&
      sameBytes(document.level, this.level)
    )
      return;
    this.push({ tape: sameTape ? tape : { name: tape.name, bytes }, document });
    this.floating = null;
    this.emit("tape", "level", "options", "history", "saved", "document", "floating");
  }

  markTapeSaved(): void {
    this.savedTape = this.tape?.bytes ?? null;
    this.emit("saved");
  }
}
