// Files in and out: New, Open (the file input, a drop on the page, "Open in place…" where the
// browser has the File System Access API), Save level, Save picture (which carries the level, so
// that Open takes it back), Export for Tiled, Copy link and the opening of such a link. What a file
// is and what is wrong with it is the core's to say (openFile); the page shows the core's message
// and keeps the level it had. The buttons run these through the page's actions.
import { zipSync } from "fflate";

import type { NamedBytes, OpenResult, TomkrinCore } from "./core/api";
import { byId, clearAlert, download, setStatus, showAlert } from "./dom";
import { baseName } from "./filenames";
import { levelLink, levelOfFragment, LINK_NAME } from "./levellink";
import type { EditorState } from "./state";

// What a tape or a recording opened through the files goes to.
export interface FileTargets {
  openTape(name: string, bytes: Uint8Array): Promise<void>;
  // One recording, or several takes of one tape decoded together.
  decodeRecordings(recordings: NamedBytes[]): Promise<void>;
}

// The File System Access API's picker, where the browser has it.
interface OpenFilePicker {
  showOpenFilePicker(options?: { multiple?: boolean }): Promise<FileSystemFileHandle[]>;
}

function hasOpenFilePicker(w: Window): w is Window & OpenFilePicker {
  return typeof (w as Partial<OpenFilePicker>).showOpenFilePicker === "function";
}

// The name a level is saved under when it came from no level file: its title, else "level".
export function levelFileName(title: string): string {
  const words = title
    .trim()
    .replace(/[^A-Za-z0-9]+/g, "-")
    .replace(/^-+|-+$/g, "");
  return `${words || "level"}.bin`;
}

async function readFile(file: File): Promise<NamedBytes> {
  return { name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) };
}

export class Files {
  constructor(
    private readonly core: TomkrinCore,
    private readonly state: EditorState,
    private readonly targets: FileTargets,
  ) {
    const open = byId<HTMLInputElement>("open");
    open.addEventListener("change", () => {
      const files = Array.from(open.files ?? []);
      open.value = "";
      void this.openFiles(files);
    });
    const inPlace = byId<HTMLButtonElement>("open-in-place");
    if (hasOpenFilePicker(window)) {
      inPlace.hidden = false;
      inPlace.addEventListener("click", () => void this.openInPlace());
    }
    this.acceptDrops();
  }

  // The name Save gives the level being edited.
  get levelName(): string {
    return this.state.document.name || levelFileName(this.core.levelFields(this.state.level).title);
  }

  newLevel(): void {
    this.state.replaceDocument({ level: this.core.defaultLevel(), name: "", handle: null });
    clearAlert();
    setStatus("");
  }

  // One file, or several given together: a map with its tilesets, or recordings that are takes
  // of one tape. The map is the file that opens as one; a lone file is whatever it is.
  async openFiles(files: File[]): Promise<void> {
    if (files.length === 0) return;
    const read = await Promise.all(files.map(readFile));
    if (
      read.length > 1 &&
      read.every((file) => {
        const opened = this.core.openFile(file.name, file.bytes, []);
        return opened.kind === "recording" && !opened.error;
      })
    ) {
      clearAlert();
      void this.targets.decodeRecordings(read);
      return;
    }
    let chosen: NamedBytes | undefined = read[0];
    let result: OpenResult | undefined;
    if (read.length === 1 && chosen) {
      result = this.core.openFile(chosen.name, chosen.bytes, []);
    } else {
      for (const file of read) {
        const others = read.filter((f) => f !== file);
        const tried = this.core.openFile(file.name, file.bytes, others);
        if (tried.kind === "map" && !tried.error) {
          chosen = file;
          result = tried;
          break;
        }
      }
      if (!result && chosen) result = this.core.openFile(chosen.name, chosen.bytes, read.slice(1));
    }
    if (chosen && result) this.take(chosen, result, null);
  }

  private take(file: NamedBytes, result: OpenResult, handle: FileSystemFileHandle | null): void {
    if (result.error) {
      showAlert(result.error);
      return;
    }
    clearAlert();
    switch (result.kind) {
      case "level":
      case "map":
      case "picture":
        if (!result.level) return;
        this.state.replaceDocument({
          level: result.level,
          name: result.kind === "level" ? file.name : `${baseName(file.name)}.bin`,
          handle: result.kind === "level" ? handle : null,
        });
        setStatus(`Opened ${file.name}`);
        break;
      case "tape":
        void this.targets.openTape(file.name, file.bytes);
        break;
      case "recording":
        void this.targets.decodeRecordings([file]);
        break;
      default:
        break;
    }
  }

  // A level opened through the File System Access API keeps its handle: Save writes into it.
  private async openInPlace(): Promise<void> {
    if (!hasOpenFilePicker(window)) return;
    let handles: FileSystemFileHandle[];
    try {
      handles = await window.showOpenFilePicker({ multiple: false });
    } catch {
      return; // the picker was cancelled
    }
    const handle = handles[0];
    if (!handle) return;
    const file = await readFile(await handle.getFile());
    this.take(file, this.core.openFile(file.name, file.bytes, []), handle);
  }

  async saveLevel(): Promise<void> {
    const doc = this.state.document;
    const name = this.levelName;
    if (doc.handle) {
      try {
        const writable = await doc.handle.createWritable();
        await writable.write(doc.level as Uint8Array<ArrayBuffer>);
        await writable.close();
        this.state.markSaved(name, doc.handle);
        setStatus(`Saved into ${name}`);
        return;
      } catch (error) {
        showAlert(`${name}: ${error instanceof Error ? error.message : String(error)}`);
        return;
      }
    }
    download(name, doc.level, "application/octet-stream");
    this.state.markSaved(name, null);
    setStatus(`Saved ${name}`);
  }

  // As `tomkrin render` draws the level by default.
  savePicture(): void {
    download(
      `${baseName(this.levelName)}.png`,
      this.core.renderLevelPng(this.state.level, 1),
      "image/png",
    );
  }

  exportForTiled(): void {
    const format = byId<HTMLSelectElement>("tiled-format").value === "tmj" ? "tmj" : "tmx";
    const base = baseName(this.levelName);
    const files = this.core.tiledExport(this.state.level, format, false, base);
    const zip = zipSync(Object.fromEntries(files.map((f) => [f.name, f.bytes])));
    download(`${base}.zip`, zip, "application/zip");
  }

  // A link to this page holding the level in its fragment; where the clipboard is refused, shown
  // to copy by hand.
  async copyLink(): Promise<void> {
    const link = levelLink(window.location.href, this.state.level);
    try {
      await navigator.clipboard.writeText(link);
      setStatus(`Link copied (${link.length} characters)`);
    } catch {
      window.prompt("The link to the level:", link);
    }
  }

  // The level a link to this page holds in `hash`; nothing to do for a fragment without one. The
  // fragment is taken off the address, so that a reload keeps the edits instead of asking again.
  openLink(hash: string): void {
    const found = levelOfFragment(hash);
    if (!found) return;
    window.history.replaceState(null, "", window.location.pathname + window.location.search);
    const result =
      "error" in found
        ? { error: `${LINK_NAME}: ${found.error}` }
        : this.core.openFile(LINK_NAME, found.level, []);
    if (result.error || result.kind !== "level" || !result.level) {
      showAlert(result.error ?? `${LINK_NAME}: it holds no level`);
      return;
    }
    // The level of the link takes the place of the one being edited: the tape's changes stay in
    // the tape, but the user is asked all the same while the tape is the document.
    const replaced =
      this.state.levelUnsaved || (this.state.openSlot !== undefined && this.state.tapeUnsaved);
    if (replaced && !window.confirm("Replace the unsaved changes with the level of the link?"))
      return;
    this.state.replaceDocument({ level: result.level, name: "", handle: null });
    clearAlert();
    setStatus("Opened the level of the link");
  }

  private acceptDrops(): void {
    const body = document.body;
    body.addEventListener("dragover", (e) => {
      if (!e.dataTransfer?.types.includes("Files")) return;
      e.preventDefault();
      e.dataTransfer.dropEffect = "copy";
      body.classList.add("dragging");
    });
    body.addEventListener("dragleave", (e) => {
      if (e.relatedTarget === null) body.classList.remove("dragging");
    });
    body.addEventListener("drop", (e) => {
      e.preventDefault();
      body.classList.remove("dragging");
      void this.openFiles(Array.from(e.dataTransfer?.files ?? []));
    });
  }
}
