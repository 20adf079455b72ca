// The palette: one button per block of the catalogue, named as the catalogue names it and showing
// the block's picture. Choosing one selects it for the canvas and tells its name and code.
import type { TomkrinCore } from "./core/api";
import { pictureCanvas } from "./dom";
import type { EditorState } from "./state";

// `named`: the line that names the selected block, for a touch screen, which shows no tooltips.
export function buildPalette(
  core: TomkrinCore,
  state: EditorState,
  container: HTMLElement,
  named: HTMLElement,
): void {
  const images = core.blockImages();
  const buttons = core.blocks().map((block, index) => {
    const button = document.createElement("button");
    button.type = "button";
    button.setAttribute("aria-label", block.name);
    button.title = core.selectedBlockStatus(index);
    const image = images[index];
    if (image) button.append(pictureCanvas(image));
    button.addEventListener("click", () => {
      state.selectBlock(index);
      state.say(core.selectedBlockStatus(index));
    });
    container.append(button);
    return button;
  });
  // One stop of the Tab key for the whole palette (the selected block); the arrow keys, Home and
  // End move between the blocks, Enter or Space chooses one.
  const show = () => {
    buttons.forEach((button, index) => {
      button.setAttribute("aria-pressed", String(index === state.selectedBlock));
      button.tabIndex = index === state.selectedBlock ? 0 : -1;
    });
    named.textContent = core.selectedBlockStatus(state.selectedBlock);
  };
  container.addEventListener("keydown", (e) => {
    const at = buttons.indexOf(e.target as HTMLButtonElement);
    if (at < 0) return;
    const columns = getComputedStyle(container).gridTemplateColumns.split(" ").length;
    const moves: Record<string, number> = {
      ArrowLeft: at - 1,
      ArrowRight: at + 1,
      ArrowUp: at - columns,
      ArrowDown: at + columns,
      Home: 0,
      End: buttons.length - 1,
    };
    const to = moves[e.key];
    if (to === undefined) return;
    e.preventDefault();
    const target = buttons[Math.min(Math.max(to, 0), buttons.length - 1)];
    if (!target) return;
    buttons.forEach((button) => (button.tabIndex = button === target ? 0 : -1));
    target.focus();
  });
  state.subscribe((changes) => {
    if (changes.has("selection")) show();
  });
  show();
}
