// Every command of the page as an action (actions.ts): the files', undo and redo, the tools, the
// selection's, the pasted cells' and the command palette; their buttons and the Tools toolbar
// bound to them.
import { Actions, type Action } from "./actions";
import type { LevelCanvas } from "./canvas";
import { CommandPalette } from "./commands";
import { byId } from "./dom";
import type { Edits } from "./edits";
import type { Files } from "./files";
import type { EditorState, Tool } from "./state";
import type { TapeView } from "./tape";

interface ToolEntry {
  tool: Tool;
  label: string;
  key: string;
}

export const TOOLS: ToolEntry[] = [
  { tool: "pencil", label: "Pencil", key: "P" },
  { tool: "rectangle", label: "Rectangle", key: "R" },
  { tool: "fill", label: "Fill", key: "F" },
  { tool: "pick", label: "Pick", key: "I" },
  { tool: "select", label: "Select", key: "S" },
];

export interface PageParts {
  state: EditorState;
  files: Files;
  edits: Edits;
  canvas: LevelCanvas;
  tape: TapeView;
}

function pageActions({ state, files, edits, canvas, tape }: PageParts): Action[] {
  const floating = () => state.floating !== null;
  const selected = () => state.area !== null && !floating();
  const move = (id: string, label: string, key: string, cols: number, rows: number): Action => ({
    id,
    label,
    keys: [key],
    canvasKeys: true,
    enabled: floating,
    run: () => edits.moveFloating(cols, rows),
  });
  return [
    { id: "new", label: "New", run: () => files.newLevel() },
    { id: "open", label: "Open", keys: ["Control+O"], run: () => byId("open").click() },
    {
      id: "save-level",
      label: "Save level",
      keys: ["Control+S"],
      keysEnabled: () => state.openSlot === undefined,
      run: () => void files.saveLevel(),
    },
    { id: "save-picture", label: "Save picture", run: () => files.savePicture() },
    {
      id: "save-tape",
      label: "Save tape",
      // Ctrl+S saves what is being edited: the tape, when the level open is one of the tape's.
      keys: ["Control+S"],
      enabled: () => state.tape !== null,
      keysEnabled: () => state.openSlot !== undefined,
      run: () => tape.saveTape(),
    },
    {
      id: "move-level-left",
      label: "Move level left",
      enabled: () => tape.canMove(-1),
      run: () => tape.moveLevel(-1),
    },
    {
      id: "move-level-right",
      label: "Move level right",
      enabled: () => tape.canMove(1),
      run: () => tape.moveLevel(1),
    },
    {
      id: "revert-level",
      label: "Revert level",
      enabled: () => tape.canRevert(),
      run: () => tape.revertLevel(),
    },
    { id: "export-tiled", label: "Export for Tiled", run: () => files.exportForTiled() },
    { id: "copy-link", label: "Copy link", run: () => void files.copyLink() },
    {
      id: "undo",
      label: "Undo",
      keys: ["Control+Z"],
      enabled: () => state.canUndo,
      run: () => state.undo(),
    },
    {
      id: "redo",
      label: "Redo",
      keys: ["Control+Shift+Z", "Control+Y"],
      enabled: () => state.canRedo,
      run: () => state.redo(),
    },
    ...TOOLS.map(({ tool, label, key }): Action => ({
      id: tool,
      label,
      keys: [key],
      run: () => state.setTool(tool),
    })),
    {
      id: "line-mode",
      label: "Line (taps paint lines)",
      run: () => {
        canvas.lineMode = !canvas.lineMode;
        byId("line-mode").setAttribute("aria-pressed", String(canvas.lineMode));
      },
    },
    { id: "copy", label: "Copy", keys: ["Control+C"], enabled: selected, run: () => edits.copy() },
    { id: "cut", label: "Cut", keys: ["Control+X"], enabled: selected, run: () => edits.cut() },
    {
      id: "delete",
      label: "Delete",
      keys: ["Delete"],
      enabled: selected,
      run: () => edits.clear(),
    },
    {
      id: "paste",
      label: "Paste",
      keys: ["Control+V"],
      enabled: () => state.clipboard !== null,
      run: () => {
        edits.commitFloating();
        edits.paste();
        // The arrow keys and Enter then move and put down the pasted cells.
        byId("level").focus({ preventScroll: true });
      },
    },
    {
      id: "flip-horizontally",
      label: "Flip horizontally",
      enabled: () => !floating(),
      run: () => edits.flip(true),
    },
    {
      id: "flip-vertically",
      label: "Flip vertically",
      enabled: () => !floating(),
      run: () => edits.flip(false),
    },
    {
      id: "put-down",
      label: "Put down pasted cells",
      keys: ["Enter"],
      canvasKeys: true,
      enabled: floating,
      run: () => edits.commitFloating(),
    },
    {
      id: "drop",
      label: "Drop pasted cells",
      keys: ["Escape"],
      enabled: floating,
      run: () => edits.dropFloating(),
    },
    move("move-left", "Move pasted cells left", "ArrowLeft", -1, 0),
    move("move-right", "Move pasted cells right", "ArrowRight", 1, 0),
    move("move-up", "Move pasted cells up", "ArrowUp", 0, -1),
    move("move-down", "Move pasted cells down", "ArrowDown", 0, 1),
    {
      id: "grid",
      label: "Grid",
      keys: ["G"],
      run: () => state.setView({ showGrid: !state.showGrid }),
    },
    { id: "zoom-in", label: "Zoom in", keys: ["Plus", "="], run: () => canvas.zoomBy(1) },
    { id: "zoom-out", label: "Zoom out", keys: ["-"], run: () => canvas.zoomBy(-1) },
    {
      id: "zoom-fit",
      label: "Zoom to fit",
      keys: ["0"],
      run: () => state.setView({ zoom: null }),
    },
    {
      id: "deselect",
      label: "Select nothing",
      keys: ["Escape"],
      enabled: selected,
      run: () => state.setArea(null),
    },
  ];
}

// The Tools toolbar, whose pressed button is the tool in use, and the Grid toggle.
function bindTools(state: EditorState, actions: Actions): void {
  const buttons = TOOLS.map(({ tool }) => {
    const button = byId<HTMLButtonElement>(`tool-${tool}`);
    actions.bind(button, tool);
    return { tool, button };
  });
  const show = () => {
    for (const { tool, button } of buttons)
      button.setAttribute("aria-pressed", String(tool === state.tool));
  };
  const grid = byId("grid");
  state.subscribe((changes) => {
    if (changes.has("tool")) show();
    if (changes.has("view")) grid.setAttribute("aria-pressed", String(state.showGrid));
  });
  show();
}

export function wireActions(parts: PageParts): Actions {
  const actions = new Actions();
  actions.add(...pageActions(parts));
  const palette = new CommandPalette(actions);
  actions.add({
    id: "commands",
    label: "Command palette",
    keys: ["Control+K", "F1"],
    run: () => palette.open(),
  });
  for (const id of [
    "new",
    "save-level",
    "save-picture",
    "save-tape",
    "move-level-left",
    "move-level-right",
    "revert-level",
    "export-tiled",
    "copy-link",
    "undo",
    "redo",
    "line-mode",
    "flip-horizontally",
    "flip-vertically",
    "grid",
  ])
    actions.bind(byId<HTMLButtonElement>(id), id);
  actions.bind(byId<HTMLButtonElement>("open-commands"), "commands");
  bindTools(parts.state, actions);
  actions.listen(document);
  parts.state.subscribe(() => actions.refresh());
  actions.refresh();
  return actions;
}
