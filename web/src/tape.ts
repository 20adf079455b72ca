// The opened tape: its block directory as `tomkrin info` lists it, the game's 20 standard levels
// as a sheet of buttons that open them, Insert (the rules and messages of `tomkrin insert`), Save
// tape and the sheet's picture.
import type { InsertPlace, TapeDirectoryRow, TapeLevel, TomkrinCore } from "./core/api";
import { byId, clearAlert, download, pictureCanvas, setStatus, showAlert } from "./dom";
import { baseName } from "./filenames";
import type { EditorState } from "./state";

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

  constructor(
    private readonly core: TomkrinCore,
    private readonly state: EditorState,
    // The name the level being edited is saved under, for the core's messages.
    private readonly levelName: () => string,
  ) {
    byId("insert").addEventListener("click", () => this.insert());
    byId("save-tape").addEventListener("click", () => this.saveTape());
    byId("save-sheet").addEventListener("click", () => this.saveSheet());
    state.subscribe((changes) => {
      if (changes.has("tape")) this.show();
      if (changes.has("document")) this.followSlot();
    });
    this.show();
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

  private show(): void {
    const tape = this.state.tape;
    byId("tape-body").hidden = tape === null;
    byId<HTMLButtonElement>("insert").disabled = tape === null;
    byId<HTMLButtonElement>("save-tape").disabled = tape === null;
    byId("insert-status").textContent = "";
    this.levels = [];
    if (!tape) {
      byId("tape-name").textContent = "No tape opened: open or drop a tape image (.cas).";
      return;
    }
    byId("tape-name").textContent = `${tape.name} (${tape.bytes.length} bytes)`;
    this.showDirectory(this.core.tapeDirectory(tape.bytes));
    const levels = this.core.tapeLevels(tape.bytes, tape.name);
    byId("tape-judgement").textContent = levels.gameTape ? "" : levels.why;
    byId<HTMLButtonElement>("save-sheet").disabled = !levels.gameTape;
    this.levels = levels.levels;
    const sheet = byId("tape-sheet");
    sheet.replaceChildren(
      ...levels.levels.map((entry) => {
        const button = document.createElement("button");
        button.type = "button";
        button.setAttribute("aria-label", `Level ${entry.n}: ${entry.title.trim()}`);
        const caption = document.createElement("span");
        caption.textContent = entry.caption;
        button.append(pictureCanvas(this.core.canvasImage(entry.level)), caption);
        button.addEventListener("click", () => {
          if (entry.error) {
            showAlert(entry.error);
            return;
          }
          this.state.replaceDocument({
            level: entry.level,
            name: "",
            handle: null,
            tapeSlot: entry.n,
          });
          clearAlert();
          setStatus(`Opened level ${entry.n} of ${tape.name}`);
          byId("level").scrollIntoView({ block: "nearest" });
        });
        return button;
      }),
    );
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
    this.state.changeTape(result.tape);
    const was = replaced === undefined ? "" : ` ("${replaced}")`;
    const done =
      slot !== undefined
        ? `Replaced level slot ${slot}${was} of ${tape.name}.`
        : `Level put into ${tape.name} at ${"offset" in place ? place.offset : ""}.`;
    setStatus(done);
    // Said beside the button as well, where the user looks after pressing it.
    byId("insert-status").textContent = done;
  }

  private saveTape(): void {
    const tape = this.state.tape;
    if (!tape) return;
    download(tape.name, tape.bytes, "application/octet-stream");
    this.state.markTapeSaved();
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
