// The command palette: a dialog listing every action with its keys. Typing filters the list (each
// word must be in the name), the arrow keys move the choice, Enter or a click runs it and closes
// the dialog.
import { keyText, type Actions, type Action } from "./actions";
import { byId } from "./dom";

export class CommandPalette {
  private readonly dialog = byId<HTMLDialogElement>("command-palette");
  private readonly input = byId<HTMLInputElement>("command-filter");
  private readonly list = byId<HTMLUListElement>("command-list");
  private shown: Action[] = [];
  private chosen = 0;

  constructor(private readonly actions: Actions) {
    this.input.addEventListener("input", () => {
      this.chosen = 0;
      this.show();
    });
    this.input.addEventListener("keydown", (e) => {
      if (e.key === "ArrowDown" || e.key === "ArrowUp") {
        e.preventDefault();
        const step = e.key === "ArrowDown" ? 1 : -1;
        const count = Math.max(this.shown.length, 1);
        this.chosen = (this.chosen + step + count) % count;
        this.show();
      } else if (e.key === "Enter") {
        e.preventDefault();
        this.runChosen(this.chosen);
      }
    });
    this.list.addEventListener("click", (e) => {
      const item = (e.target as HTMLElement).closest("li");
      if (item) this.runChosen(Number(item.dataset.index));
    });
  }

  open(): void {
    this.input.value = "";
    this.chosen = 0;
    this.show();
    this.dialog.showModal();
    this.input.focus();
  }

  private runChosen(index: number): void {
    const action = this.shown[index];
    if (!action || !this.actions.enabled(action.id)) return;
    this.dialog.close();
    this.actions.run(action.id);
  }

  private show(): void {
    const words = this.input.value.toLowerCase().split(/\s+/).filter(Boolean);
    this.shown = this.actions
      .list()
      .filter((a) => words.every((word) => a.label.toLowerCase().includes(word)));
    this.list.replaceChildren(
      ...this.shown.map((action, index) => {
        const item = document.createElement("li");
        item.role = "option";
        item.id = `command-${action.id}`;
        item.dataset.index = String(index);
        item.setAttribute("aria-selected", String(index === this.chosen));
        item.setAttribute("aria-disabled", String(!this.actions.enabled(action.id)));
        const name = document.createElement("span");
        name.textContent = action.label;
        item.append(name);
        if (action.keys?.length) {
          const keys = document.createElement("kbd");
          keys.textContent = action.keys.map(keyText).join(", ");
          item.append(keys);
        }
        return item;
      }),
    );
    const chosen = this.shown[this.chosen];
    if (chosen) this.input.setAttribute("aria-activedescendant", `command-${chosen.id}`);
    else this.input.removeAttribute("aria-activedescendant");
  }
}
