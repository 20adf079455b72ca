// The one state of the page: the level being edited with its undo history, the selected block,
// the anchor of the line tool, the opened tape. Every change goes through here and is announced
// to the views, which draw from it. No DOM.
import { History } from "./history";

// What a step of the history holds: the level file's bytes and where it saves to.
export interface LevelDocument {
  level: Uint8Array;
  // The file name a Save gives it.
  name: string;
  // Set for a level opened in place (File System Access API): Save writes back into that file.
  handle: FileSystemFileHandle | null;
}

export interface OpenedFile {
  name: string;
  bytes: Uint8Array;
}

export interface Cell {
  col: number;
  row: number;
}

// What changed, so that each view redraws only what it shows.
export type Change =
  "level" | "options" | "selection" | "monster" | "anchor" | "tape" | "history" | "saved";

export type Listener = (changes: ReadonlySet<Change>) => void;

export function sameBytes(a: Uint8Array | null, b: Uint8Array | null): boolean {
  if (a === null || b === null) return a === b;
  if (a.length !== b.length) return false;
  for (let i = 0; i < a.length; i++) if (a[i] !== b[i]) return false;
  return true;
}

export class EditorState {
  private readonly history: History<LevelDocument>;
  private listeners: Listener[] = [];
  private strokeOpen = false;
  private strokeStepped = false;

  selectedBlock = 0;
  // The monster the monster options show, 0 to 3.
  selectedMonster = 0;
  anchor: Cell = { col: 0, row: 0 };
  tape: OpenedFile | null = null;
  // The tape was changed (a level inserted) since it was opened or saved.
  tapeUnsaved = false;
  // The bytes last saved or opened; the level has unsaved changes while it differs from them.
  savedLevel: Uint8Array | null;

  // `steps`: how many the undo history keeps, the history's own limit unless given.
  constructor(initial: LevelDocument, steps?: number) {
    this.history = new History(initial, steps);
    this.savedLevel = initial.level;
  }

  get document(): LevelDocument {
    return this.history.current;
  }

  get level(): Uint8Array {
    return this.history.current.level;
  }

  get canUndo(): boolean {
    return this.history.canUndo;
  }

  get canRedo(): boolean {
    return this.history.canRedo;
  }

  get unsaved(): boolean {
    return !sameBytes(this.level, this.savedLevel) || this.tapeUnsaved;
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

  // A change of the cells (a click, a line, a stroke's part). Nothing changes for equal bytes.
  paint(level: Uint8Array): void {
    if (sameBytes(level, this.level)) return;
    const next = { ...this.document, level };
    if (this.strokeOpen && this.strokeStepped) this.history.amend(next);
    else this.history.push(next);
    if (this.strokeOpen) this.strokeStepped = true;
    this.emit("level", "history");
  }

  // A change through the option windows or a monster's path on the canvas: a step of its own,
  // or a part of the stroke that drags a path's end.
  setOptions(level: Uint8Array): void {
    if (sameBytes(level, this.level)) return;
    const next = { ...this.document, level };
    if (this.strokeOpen && this.strokeStepped) this.history.amend(next);
    else this.history.push(next);
    if (this.strokeOpen) this.strokeStepped = true;
    this.emit("level", "options", "history");
  }

  // New, Open, a level of the tape: a step that replaces the whole document, saved as it is.
  replaceDocument(doc: LevelDocument): void {
    this.history.push(doc);
    this.savedLevel = doc.level;
    this.anchor = { col: 0, row: 0 };
    this.emit("level", "options", "history", "saved", "anchor");
  }

  // A session restored from storage: its level with nothing to undo.
  restore(doc: LevelDocument, savedLevel: Uint8Array | null): void {
    this.history.reset(doc);
    this.savedLevel = savedLevel;
    this.emit("level", "options", "history", "saved");
  }

  undo(): void {
    if (this.history.undo() !== undefined) this.emit("level", "options", "history", "saved");
  }

  redo(): void {
    if (this.history.redo() !== undefined) this.emit("level", "options", "history", "saved");
  }

  // After a Save: the level as written, under the name and handle it was written to.
  markSaved(name: string, handle: FileSystemFileHandle | null): void {
    this.history.amend({ level: this.level, name, handle });
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

  setAnchor(cell: Cell): void {
    this.anchor = cell;
    this.emit("anchor");
  }

  setTape(tape: OpenedFile | null, changed = false): void {
    this.tape = tape;
    this.tapeUnsaved = changed;
    this.emit("tape", "saved");
  }

  markTapeSaved(): void {
    this.tapeUnsaved = false;
    this.emit("saved");
  }
}
