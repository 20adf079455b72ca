// The option, sound, block directory and help panels: dialogs that open beside the button that
// asks for them and leave the rest of the page in view (the option fields apply as they are typed,
// so the canvas shows each change while the panel stays open). A panel's button says whether it
// is open; Escape or its Close button closes it and gives the focus back to the button; a press
// elsewhere in the studio (the canvas, the palette, the tape) closes it too, so that it never stays
// over what is used next. The top bar's actions (Save, Undo, …) leave it open.
import { byId } from "./dom";

const GAP = 4;
const MARGIN = 8;

// Beside its button: below it when the panel fits there (or has more room there), else above it,
// within the window and under the top bar, whose buttons stay usable.
function place(panel: HTMLDialogElement, opener: HTMLElement | null): void {
  if (!opener) return;
  panel.style.maxHeight = "";
  const at = opener.getBoundingClientRect();
  const bar = document.querySelector(".topbar")?.getBoundingClientRect().bottom ?? 0;
  const floor = Math.max(MARGIN, bar + GAP);
  const width = panel.offsetWidth;
  const height = panel.offsetHeight;
  const below = window.innerHeight - at.bottom - GAP - MARGIN;
  const above = at.top - GAP - floor;
  const under = height <= below || below >= above;
  const room = under ? below : above;
  // Opening toward the middle of the window: over the canvas rather than over the palette.
  const toLeft = at.left + at.width / 2 > window.innerWidth / 2;
  const left = Math.min(toLeft ? at.right - width : at.left, window.innerWidth - width - MARGIN);
  // Held by its edge next to the button, so that a panel growing (a field's message, the decoder's
  // report) grows away from the button and the controls around it.
  panel.style.top = under ? `${Math.round(at.bottom + GAP)}px` : "auto";
  panel.style.bottom = under ? "auto" : `${Math.round(window.innerHeight - at.top + GAP)}px`;
  panel.style.left = `${Math.round(Math.max(MARGIN, left))}px`;
  panel.style.maxHeight = `${Math.round(Math.max(room, 120))}px`;
}

function openers(id: string): HTMLElement[] {
  return [...document.querySelectorAll<HTMLElement>(`[data-panel="${id}"]`)];
}

export function showPanel(id: string, opener?: HTMLElement): void {
  const panel = byId<HTMLDialogElement>(id);
  if (!panel.open) panel.show();
  place(panel, opener ?? openers(id)[0] ?? null);
  for (const button of openers(id)) button.setAttribute("aria-expanded", "true");
}

function closePanel(panel: HTMLDialogElement, giveFocusBack: boolean): void {
  panel.close();
  const buttons = openers(panel.id);
  for (const button of buttons) button.setAttribute("aria-expanded", "false");
  if (giveFocusBack) buttons[0]?.focus();
}

export function wirePanels(): void {
  for (const button of document.querySelectorAll<HTMLElement>("[data-panel]")) {
    const id = button.dataset.panel ?? "";
    const panel = byId<HTMLDialogElement>(id);
    button.setAttribute("aria-controls", id);
    button.setAttribute("aria-expanded", "false");
    button.addEventListener("click", () => {
      if (panel.open) closePanel(panel, false);
      else showPanel(id, button);
    });
  }
  const panels = [...document.querySelectorAll<HTMLDialogElement>("dialog.panel")];
  document.addEventListener(
    "pointerdown",
    (e) => {
      const target = e.target instanceof Element ? e.target : null;
      if (target?.closest(".topbar")) return;
      for (const panel of panels) {
        if (!panel.open || (target && panel.contains(target))) continue;
        if (target && openers(panel.id).some((button) => button.contains(target))) continue;
        closePanel(panel, false);
      }
    },
    { capture: true },
  );
  for (const panel of panels) {
    panel.querySelector(".close")?.addEventListener("click", () => closePanel(panel, true));
    panel.addEventListener("keydown", (e) => {
      if (e.key !== "Escape") return;
      e.preventDefault();
      e.stopPropagation();
      closePanel(panel, true);
    });
  }
}
