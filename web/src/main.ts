// The page: loads the core, gives back the session kept in the browser, and wires the views and the
// page's actions (pageactions.ts: the buttons, the keys, the command palette) to the one state;
// the status line; the question before a tab with unsaved changes closes.
import { LevelCanvas } from "./canvas";
import { loadCore, type TomkrinCore } from "./core/index";
import { compileCoreWasm } from "./core/wasm";
import { askToDiscard, byId, clearAlert, setStatus, showAlert } from "./dom";
import { Edits } from "./edits";
import { Files } from "./files";
import { showHover } from "./hover";
import { keepSiteOffline, keepStorage, openLaunchedFiles } from "./install";
import { buildLevelOptions, buildMonsterOptions } from "./options";
import { wireActions } from "./pageactions";
import { wirePanels } from "./panels";
import { buildPalette } from "./palette";
import { Sound } from "./sound";
import { EditorState } from "./state";
import { wireStart } from "./start";
import { SessionStore } from "./storage";
import { TapeView } from "./tape";

async function openStore(): Promise<SessionStore | null> {
  try {
    return await SessionStore.open();
  } catch {
    return null; // storage refused (a private window): the page works without it
  }
}

// The kept level, when the core still takes it for one.
async function restore(core: TomkrinCore, state: EditorState, store: SessionStore): Promise<void> {
  const session = await store.load().catch(() => null);
  if (!session) return;
  const opened = core.openFile(session.levelName || "level.bin", session.level, []);
  if (opened.kind === "level" && opened.level && !opened.error)
    state.restore(
      {
        level: opened.level,
        name: session.levelName,
        handle: null,
        ...(session.tape && session.tapeSlot !== undefined ? { tapeSlot: session.tapeSlot } : {}),
      },
      session.savedLevel,
    );
  if (session.tape) state.restoreTape(session.tape, session.savedTape ?? session.tape.bytes);
}

function keep(state: EditorState, store: SessionStore): void {
  const save = () =>
    void store
      .save({
        level: state.level,
        levelName: state.document.name,
        savedLevel: state.savedLevel,
        tape: state.tape,
        ...(state.tapeBase ? { savedTape: state.tapeBase } : {}),
        ...(state.openSlot !== undefined ? { tapeSlot: state.openSlot } : {}),
      })
      .catch(() => undefined);
  state.subscribe((changes) => {
    if (changes.has("level") || changes.has("tape") || changes.has("saved")) save();
  });
}

async function start(): Promise<void> {
  const module = await compileCoreWasm();
  const core = await loadCore(module);
  const state = new EditorState({ level: core.defaultLevel(), name: "", handle: null });
  const store = await openStore();
  if (store) await restore(core, state, store);
  if (store) void keepStorage();

  const edits = new Edits(core, state);
  const canvas = new LevelCanvas(
    core,
    state,
    edits,
    byId<HTMLCanvasElement>("level"),
    byId("canvas-box"),
  );
  buildPalette(core, state, byId("palette"), byId("block-name"));
  buildLevelOptions(core, state);
  buildMonsterOptions(core, state);
  const openTape = (name: string, bytes: Uint8Array) => state.openTape({ name, bytes });
  // Another tape replaces the tape's unsaved changes only when the user says so.
  const keepChanges = async () => state.tapeUnsaved && !(await askToDiscard());
  const sound = new Sound(core, state, module, openTape);
  const files = new Files(core, state, {
    openTape: async (name, bytes) => {
      if (!(await keepChanges())) openTape(name, bytes);
    },
    // Asked once before the decoding, however many takes: the tape it gives then opens.
    decodeRecordings: async (recordings) => {
      if (!(await keepChanges())) sound.decode(recordings);
    },
  });
  openLaunchedFiles((opened) => files.openFiles(opened));
  const tape = new TapeView(core, state, () => files.levelName);
  wireActions({ state, files, edits, canvas, tape });
  wirePanels();
  wireStart(core, state, openTape);
  showHover(core, state, edits, byId("hover"));
  state.subscribe((changes) => {
    if (changes.has("status")) setStatus(state.status);
  });

  const fileName = byId("file-name");
  const showName = () => {
    fileName.textContent = `${files.levelName}${state.unsaved ? " *" : ""}`;
  };
  state.subscribe(showName);
  showName();
  if (store) keep(state, store);
  window.addEventListener("beforeunload", (e) => {
    if (!state.unsaved) return;
    e.preventDefault();
    e.returnValue = "";
  });
  clearAlert();
  files.openLink(window.location.hash);
  window.addEventListener("hashchange", () => files.openLink(window.location.hash));
}

keepSiteOffline();
start().catch((error: unknown) => {
  showAlert(
    `The editor could not start: ${error instanceof Error ? error.message : String(error)}`,
  );
});
