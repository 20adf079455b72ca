// What the page offers while no tape is open: to open a level or a tape, or to start from the
// demonstration tape, which the core makes (the tape `mkdemotape` writes), with its first level
// opened on the canvas.
import type { TomkrinCore } from "./core/api";
import { byId, clearAlert, setStatus } from "./dom";
import type { EditorState } from "./state";

const DEMO_NAME = "demo.cas";

export function wireStart(
  core: TomkrinCore,
  state: EditorState,
  openTape: (name: string, bytes: Uint8Array) => void,
): void {
  const start = byId("tape-start");
  const show = () => (start.hidden = state.tape !== null);
  state.subscribe((changes) => {
    if (changes.has("tape")) show();
  });
  show();
  byId("open-demo").addEventListener("click", () => {
    const tape = core.demoTape();
    openTape(DEMO_NAME, tape);
    const first = core.tapeLevels(tape, DEMO_NAME).levels[0];
    if (first && !first.error)
      state.replaceDocument({ level: first.level, name: "", handle: null, tapeSlot: first.n });
    clearAlert();
    // The button goes with the hint: the focus goes to the sheet's first level, where the status
    // is said as well.
    byId("tape-sheet").querySelector("button")?.focus();
    setStatus(`Opened the demonstration tape (${DEMO_NAME}) and its level 0`);
  });
}
