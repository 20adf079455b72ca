// Small helpers the views share: finding the page's elements, the status line, the one message
// about bad input, downloads.

export function byId<T extends HTMLElement = HTMLElement>(id: string): T {
  const element = document.getElementById(id);
  if (!element) throw new Error(`the page has no #${id}`);
  return element as T;
}

// The status line says the result of every action; it is said as well beside the control that was
// used, where the eyes are (not read out twice: the status alone is a live region).
export function setStatus(text: string): void {
  byId("status").textContent = text;
  showNote(text);
}

let noteTimer: ReturnType<typeof setTimeout> | undefined;

function showNote(text: string): void {
  const note = byId("note");
  const control = document.activeElement;
  clearTimeout(noteTimer);
  // The canvas has the status line right under it; a shortcut pressed on the page has no place.
  const beside =
    text !== "" &&
    control instanceof HTMLElement &&
    control.matches("button, input, select") &&
    !control.closest(".status-row, .palette, dialog.commands");
  if (!beside) {
    note.hidden = true;
    return;
  }
  note.textContent = text;
  note.hidden = false;
  const at = control.getBoundingClientRect();
  const margin = 8;
  const left = Math.min(at.left, window.innerWidth - note.offsetWidth - margin);
  const top =
    at.bottom + 4 + note.offsetHeight <= window.innerHeight
      ? at.bottom + 4
      : at.top - 4 - note.offsetHeight;
  note.style.left = `${Math.round(Math.max(margin, left))}px`;
  note.style.top = `${Math.round(Math.max(margin, top))}px`;
  noteTimer = setTimeout(() => (note.hidden = true), 4000);
}

// The message about a file the page could not take: one at a time, the core's "FILE: WHAT".
export function showAlert(text: string): void {
  byId("alert").textContent = text;
}

export function clearAlert(): void {
  byId("alert").textContent = "";
}

export function download(name: string, bytes: Uint8Array, type: string): void {
  const blob = new Blob([bytes as Uint8Array<ArrayBuffer>], { type });
  const url = URL.createObjectURL(blob);
  const link = document.createElement("a");
  link.href = url;
  link.download = name;
  document.body.append(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(url), 10_000);
}

// An RGBA picture of the core as a canvas of its own size.
export function pictureCanvas(image: { width: number; height: number; data: Uint8ClampedArray }) {
  const canvas = document.createElement("canvas");
  canvas.width = image.width;
  canvas.height = image.height;
  const context = canvas.getContext("2d");
  if (context) {
    const data = new ImageData(
      image.data as Uint8ClampedArray<ArrayBuffer>,
      image.width,
      image.height,
    );
    context.putImageData(data, 0, 0);
  }
  return canvas;
}

// The page's question before the tape's unsaved changes are replaced: true for Discard changes,
// false for Cancel (or Escape).
export function askToDiscard(): Promise<boolean> {
  const dialog = byId<HTMLDialogElement>("discard-dialog");
  dialog.returnValue = "";
  dialog.showModal();
  return new Promise((answer) => {
    dialog.addEventListener("close", () => answer(dialog.returnValue === "discard"), {
      once: true,
    });
  });
}
