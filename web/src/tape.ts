// The opened tape: its block directory as `tomkrin info` lists it, the game's 20 standard levels
// as a sheet of buttons that open them as levels of the tape (the open one and the changed ones
// marked; Move level left and right, a picture dragged onto another, Revert level), Insert (the
// rules and messages of `tomkrin insert`), Save tape and the sheet's picture.
import type { InsertPlace, TapeDirectoryRow, TapeLevel, TomkrinCore } from "./core/api";
import { byId, clearAlert, download, pictureCanvas, setStatus, showAlert } from "./dom";
import { baseName } from "./filenames";
import { sameBytes, type EditorState } from "./state";
import {
  changedSlots,
  coreTapeSlots,
  neighbourSlot,
  swapSlots,
  type TapeSlots,
} from "./tapedocument";

// What a drag of a sheet's picture carries: the slot it comes from.
const SLOT_DRAG = "application/x-tomkrin-slot";

function cells(row: HTMLTableRowElement, texts: string[], tag: "td" | "th" = "td"): void {
  for (const text of texts) {
    const cell = document.createElement(tag);
    cell.textContent = text;
    row.append(cell);
  }
}

export class TapeView {
  // The standard levels the sheet shows, for the titles Insert replaces.
  private levels: TapeLevel[] = [];
  private buttons: HTMLButtonElement[] = [];
  // Each slot's picture, drawn again only when its level changed.
  private pictures = new Map<number, { level: Uint8Array; canvas: HTMLCanvasElement }>();
  // The levels of the tape as opened or saved, for the changed marks and Revert level.
  private base: { bytes: Uint8Array | null; levels: Uint8Array[] } = { bytes: null, levels: [] };

  constructor(
    private readonly core: TomkrinCore,
    private readonly state: EditorState,
    // The name the level being edited is saved under, for the core's messages.
    private readonly levelName: () => string,
  ) {
    byId("insert").addEventListener("click", () => this.insert());
    byId("save-sheet").addEventListener("click", () => this.saveSheet());
    state.writeTapeLevelsWith((name) => coreTapeSlots(core, name));
    state.subscribe((changes) => {
      if (changes.has("document")) this.followSlot();
      if (changes.has("tape")) {
        this.showControls();
        this.pending.show = true;
      }
      if (changes.has("tape") || changes.has("document") || changes.has("saved"))
        this.pending.mark = true;
      this.schedule();
    });
    this.showControls();
    this.show();
    this.mark();
  }

  // The sheet follows the tape once a frame: a stroke painting a level of the tape changes the
  // tape at every cell, and reading its 20 levels again each time would slow the stroke down.
  private readonly pending = { show: false, mark: false, frame: false };

  private schedule(): void {
    if (this.pending.frame || !(this.pending.show || this.pending.mark)) return;
    this.pending.frame = true;
    requestAnimationFrame(() => {
      const { show, mark } = this.pending;
      Object.assign(this.pending, { show: false, mark: false, frame: false });
      if (show) this.show();
      if (show || mark) this.mark();
    });
  }

  private current: { bytes: Uint8Array | null; levels: Uint8Array[] } = { bytes: null, levels: [] };

  private slots(): TapeSlots | null {
    const tape = this.state.tape;
    return tape ? coreTapeSlots(this.core, tape.name) : null;
  }

  private baseLevels(): Uint8Array[] {
    const bytes = this.state.tapeBase;
    if (bytes !== this.base.bytes) {
      this.base = { bytes, levels: bytes ? (this.slots()?.levels(bytes) ?? []) : [] };
    }
    return this.base.levels;
  }

  // The levels the tape holds now, read again only when its bytes change: the marks and Revert
  // level's state follow the tape at once, while the sheet's pictures wait for the next frame.
  private currentLevels(): Uint8Array[] {
    const bytes = this.state.tape?.bytes ?? null;
    if (bytes !== this.current.bytes) {
      this.current = { bytes, levels: bytes ? (this.slots()?.levels(bytes) ?? []) : [] };
    }
    return this.current.levels;
  }

  private changed(): Set<number> {
    return changedSlots(this.currentLevels(), this.baseLevels());
  }

  // The open level marked (aria-current and an outline), and each changed one (a mark that is
  // its accessible description as well).
  private mark(): void {
    const open = this.state.openSlot;
    const changed = this.changed();
    this.buttons.forEach((button, n) => {
      if (n === open) button.setAttribute("aria-current", "true");
      else button.removeAttribute("aria-current");
      const note = button.querySelector<HTMLElement>(".sheet-mark");
      if (note) {
        note.textContent = [n === open ? "open" : "", changed.has(n) ? "changed" : ""]
          .filter(Boolean)
          .join(", ");
      }
      button.classList.toggle("changed", changed.has(n));
    });
  }

  canMove(step: -1 | 1): boolean {
    const open = this.state.openSlot;
    return open !== undefined && this.levels.length > 0 && neighbourSlot(open, step) !== null;
  }

  // Move level left and right: the open level changes places with its neighbour.
  moveLevel(step: -1 | 1): void {
    const open = this.state.openSlot;
    const to = open === undefined ? null : neighbourSlot(open, step);
    if (open !== undefined && to !== null) this.swap(open, to);
  }

  // Two slots change places, one step; the open level stays open where it went.
  private swap(a: number, b: number): void {
    const tape = this.state.tape;
    const slots = this.slots();
    if (!tape || !slots || a === b) return;
    const bytes = swapSlots(slots, tape.bytes, a, b);
    if (!bytes) {
      showAlert(`${tape.name}: levels ${a} and ${b} cannot change places`);
      return;
    }
    const doc = this.state.document;
    const open = this.state.openSlot;
    const slot = open === a ? b : open === b ? a : open;
    this.state.changeTapeLevel(bytes, { ...doc, tapeSlot: slot });
    clearAlert();
    setStatus(`Level ${a} and level ${b} of ${tape.name} changed places`);
  }

  canRevert(): boolean {
    const open = this.state.openSlot;
    return open !== undefined && this.changed().has(open);
  }

  // Revert level: the open slot holds again what the tape held when opened (or last saved).
  revertLevel(): void {
    const tape = this.state.tape;
    const slots = this.slots();
    const open = this.state.openSlot;
    const level = open === undefined ? undefined : this.baseLevels()[open];
    if (!tape || !slots || open === undefined || !level) return;
    const bytes = slots.withLevel(tape.bytes, open, level);
    if (!bytes) return;
    this.state.changeTapeLevel(bytes, { ...this.state.document, level });
    setStatus(`Level ${open} of ${tape.name} is back as it was`);
  }

  // The slot field follows the level opened from the tape's sheet (also when undo or redo comes
  // back to one), so that Insert puts it back where it came from; a level opened from a file
  // leaves the field as the user set it.
  private followSlot(): void {
    const slot = this.state.document.tapeSlot;
    if (slot === undefined) return;
    byId<HTMLInputElement>("insert-slot").value = String(slot);
    const bySlot = document.querySelector<HTMLInputElement>(
      'input[name="insert-place"][value="slot"]',
    );
    if (bySlot) bySlot.checked = true;
  }

  // What follows the tape at once: whether its controls are there, and no word of the last
  // insertion once the tape changed again.
  private showControls(): void {
    const tape = this.state.tape;
    byId("tape-body").hidden = tape === null;
    byId<HTMLButtonElement>("insert").disabled = tape === null;
    byId("insert-status").textContent = "";
  }

  private show(): void {
    const tape = this.state.tape;
    this.levels = [];
    if (!tape) {
      this.buttons = [];
      byId("tape-sheet").replaceChildren();
      this.pictures.clear();
      byId("tape-name").textContent = "No tape opened: open or drop a tape image (.cas).";
      return;
    }
    byId("tape-name").textContent = `${tape.name} (${tape.bytes.length} bytes)`;
    this.showDirectory(this.core.tapeDirectory(tape.bytes));
    const levels = this.core.tapeLevels(tape.bytes, tape.name);
    byId("tape-judgement").textContent = levels.gameTape ? "" : levels.why;
    byId<HTMLButtonElement>("save-sheet").disabled = !levels.gameTape;
    this.levels = levels.levels;
    // The sheet's buttons stay while it shows 20 levels (a paint, an undo): the focus stays on
    // one; only their names and pictures follow the tape.
    if (this.buttons.length !== levels.levels.length) {
      this.buttons = levels.levels.map((entry) => this.sheetButton(entry.n));
      byId("tape-sheet").replaceChildren(...this.buttons);
    }
    levels.levels.forEach((entry, n) => {
      const button = this.buttons[n];
      if (button) this.showLevel(button, entry);
    });
  }

  private picture(entry: TapeLevel): HTMLCanvasElement {
    const kept = this.pictures.get(entry.n);
    if (kept && sameBytes(kept.level, entry.level)) return kept.canvas;
    const canvas = pictureCanvas(this.core.canvasImage(entry.level));
    this.pictures.set(entry.n, { level: entry.level, canvas });
    return canvas;
  }

  private showLevel(button: HTMLButtonElement, entry: TapeLevel): void {
    button.setAttribute("aria-label", `Level ${entry.n}: ${entry.title.trim()}`);
    const [picture, caption] = button.children;
    const canvas = this.picture(entry);
    if (picture !== canvas) picture?.replaceWith(canvas);
    if (caption) caption.textContent = entry.caption;
    button.draggable = entry.error === undefined;
  }

  // The button of slot `n`, which opens the level the slot holds when it is pressed.
  private sheetButton(n: number): HTMLButtonElement {
    const button = document.createElement("button");
    button.type = "button";
    const note = document.createElement("span");
    note.className = "sheet-mark";
    note.id = `sheet-mark-${n}`;
    button.setAttribute("aria-describedby", note.id);
    button.append(document.createElement("canvas"), document.createElement("span"), note);
    button.addEventListener("click", () => {
      const entry = this.levels[n];
      const tape = this.state.tape;
      if (!entry || !tape) return;
      if (entry.error) {
        showAlert(entry.error);
        return;
      }
      this.state.replaceDocument({ level: entry.level, name: "", handle: null, tapeSlot: n });
      clearAlert();
      setStatus(`Opened level ${n} of ${tape.name}`);
      byId("level").scrollIntoView({ block: "nearest" });
    });
    // A picture dragged onto another: the two levels change places.
    button.addEventListener("dragstart", (e) => {
      e.dataTransfer?.setData(SLOT_DRAG, String(n));
      if (e.dataTransfer) e.dataTransfer.effectAllowed = "move";
    });
    button.addEventListener("dragover", (e) => {
      if (!e.dataTransfer?.types.includes(SLOT_DRAG) || this.levels[n]?.error !== undefined) return;
      e.preventDefault();
      e.dataTransfer.dropEffect = "move";
    });
    button.addEventListener("drop", (e) => {
      const from = e.dataTransfer?.getData(SLOT_DRAG);
      if (!from) return;
      e.preventDefault();
      e.stopPropagation();
      this.swap(Number(from), n);
    });
    return button;
  }

  private showDirectory(rows: TapeDirectoryRow[]): void {
    const hex = (value: number) => `0x${this.core.formatHex(value).padStart(4, "0")}`;
    const table = byId<HTMLTableElement>("tape-directory");
    table.tHead?.remove();
    const head = table.createTHead().insertRow();
    cells(head, ["Block", "Offset", "Size", "Kind", "Name", "Load", "End", "Exec"], "th");
    const body = table.tBodies[0] ?? table.createTBody();
    body.replaceChildren();
    for (const row of rows) {
      const line = body.insertRow();
      const a = row.addresses;
      cells(line, [
        String(row.block),
        String(row.offset),
        String(row.size),
        row.kind,
        row.name ? `"${row.name}"` : "",
        a ? hex(a.load) : "",
        a ? hex(a.end) : "",
        a ? hex(a.exec) : "",
      ]);
      if (row.fault) {
        const fault = body.insertRow();
        const cell = fault.insertCell();
        cell.colSpan = 8;
        cell.textContent = row.fault;
      }
    }
  }

  private insert(): void {
    const tape = this.state.tape;
    if (!tape) return;
    const byAddress =
      document.querySelector<HTMLInputElement>('input[name="insert-place"]:checked')?.value ===
      "address";
    // The fields as typed: the core reads and refuses them as `tomkrin insert` does.
    const place: InsertPlace = byAddress
      ? { offset: byId<HTMLInputElement>("insert-address").value.trim() }
      : { slot: byId<HTMLInputElement>("insert-slot").value.trim() };
    const force = byId<HTMLInputElement>("insert-force").checked;
    const result = this.core.insertLevel(
      tape.bytes,
      tape.name,
      this.state.level,
      this.levelName(),
      place,
      force,
      'check "Force" to insert all the same',
    );
    if (result.error || !result.tape) {
      showAlert(result.error ?? `${tape.name}: not changed`);
      return;
    }
    clearAlert();
    // The title the slot held, before the sheet shows the new one.
    const slot = "slot" in place ? result.slot : undefined;
    const replaced = slot === undefined ? undefined : this.levels[slot]?.title.trim();
    // Put into a slot, the level is that level of the tape from now on: its changes go there.
    // Put at an address over the open level of the tape, the open level is what it now holds:
    // its next change must not write the old one back.
    const open = this.state.openSlot;
    const nowOpen = open === undefined ? undefined : this.slots()?.levels(result.tape)[open];
    if (slot !== undefined && this.levels.length > 0)
      this.state.changeTapeLevel(result.tape, { ...this.state.document, tapeSlot: slot });
    else if (open !== undefined && nowOpen && !sameBytes(nowOpen, this.levels[open]?.level ?? null))
      this.state.changeTapeLevel(result.tape, { ...this.state.document, level: nowOpen });
    else this.state.changeTape(result.tape);
    const was = replaced === undefined ? "" : ` ("${replaced}")`;
    const done =
      slot !== undefined
        ? `Replaced level slot ${slot}${was} of ${tape.name}.`
        : `Level put into ${tape.name} at ${"offset" in place ? place.offset : ""}.`;
    setStatus(done);
    // Said beside the button as well, where the user looks after pressing it.
    byId("insert-status").textContent = done;
  }

  saveTape(): void {
    const tape = this.state.tape;
    if (!tape) return;
    download(tape.name, tape.bytes, "application/octet-stream");
    this.state.markTapeSaved();
    setStatus(`Saved ${tape.name}`);
  }

  // As `tomkrin render TAPE.cas` draws the sheet.
  private saveSheet(): void {
    const tape = this.state.tape;
    if (!tape) return;
    try {
      download(`${baseName(tape.name)}.png`, this.core.sheetPng(tape.bytes), "image/png");
    } catch (error) {
      showAlert(`${tape.name}: ${error instanceof Error ? error.message : String(error)}`);
    }
  }
}
