// The palette: one button per block of the catalogue, named as the catalogue names it and showing
// the block's picture. Choosing one selects it for the canvas and tells its name and code.
import type { TomkrinCore } from "./core/api";
import { pictureCanvas, setStatus } from "./dom";
import type { EditorState } from "./state";

export function buildPalette(core: TomkrinCore, state: EditorState, container: HTMLElement): void {
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
      setStatus(core.selectedBlockStatus(index));
    });
    container.append(button);
    return button;
  });
  const show = () =>
    buttons.forEach((button, index) =>
      button.setAttribute("aria-pressed", String(index === state.selectedBlock)),
    );
  state.subscribe((changes) => {
    if (changes.has("selection")) show();
  });
  show();
}
