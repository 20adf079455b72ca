// The page's commands as named actions: a label, the keys that run it, whether it can run now and
// what it does. Buttons, keys and the command palette all run them through here, so a command
// behaves the same from each and its button is disabled exactly when its key does nothing.

export interface Action {
  id: string;
  // Its name: the button's, the command palette's.
  label: string;
  // As aria-keyshortcuts writes them: "Control+Z", "Control+Shift+Z", "P", "Delete", "Plus".
  keys?: string[];
  // Keys that only act on the canvas or the page itself, not on a focused button or list (Enter,
  // the arrows, Escape, a plain letter a focused control may want).
  canvasKeys?: boolean;
  enabled?: () => boolean;
  // Whether its keys run it now, when that is narrower than `enabled` (a key another action
  // takes the rest of the time).
  keysEnabled?: () => boolean;
  run: () => void;
}

interface KeyChord {
  ctrl: boolean;
  shift: boolean;
  alt: boolean;
  key: string;
}

function chordOf(keys: string): KeyChord {
  const parts = keys.split("+");
  // aria-keyshortcuts names the plus key "Plus", "+" being its separator.
  const last = parts.pop() ?? "";
  const key = last === "Plus" ? "+" : last.toLowerCase();
  return {
    ctrl: parts.includes("Control"),
    shift: parts.includes("Shift"),
    alt: parts.includes("Alt"),
    key,
  };
}

function matches(chord: KeyChord, e: KeyboardEvent): boolean {
  return (
    chord.key === e.key.toLowerCase() &&
    chord.ctrl === (e.ctrlKey || e.metaKey) &&
    chord.alt === e.altKey &&
    // Shift matters for letters only: "+" is typed with Shift on many keyboards.
    (chord.shift === e.shiftKey ||
      (!chord.shift && chord.key.length === 1 && !/[a-z]/.test(chord.key)))
  );
}

// How a key is written for people: "Ctrl+Shift+Z".
export function keyText(keys: string): string {
  return keys
    .replace(/Control/g, "Ctrl")
    .replace(/Delete/g, "Del")
    .replace(/Plus/g, "+");
}

function isTextField(target: EventTarget | null): boolean {
  if (target instanceof HTMLTextAreaElement || target instanceof HTMLSelectElement) return true;
  return (
    target instanceof HTMLInputElement &&
    !["checkbox", "radio", "button", "file"].includes(target.type)
  );
}

export class Actions {
  private readonly actions = new Map<string, Action>();
  private readonly views: (() => void)[] = [];

  add(...actions: Action[]): void {
    for (const action of actions) this.actions.set(action.id, action);
  }

  get(id: string): Action {
    const action = this.actions.get(id);
    if (!action) throw new Error(`no action ${id}`);
    return action;
  }

  list(): Action[] {
    return [...this.actions.values()];
  }

  enabled(id: string): boolean {
    return this.get(id).enabled?.() ?? true;
  }

  run(id: string): boolean {
    if (!this.enabled(id)) return false;
    this.get(id).run();
    return true;
  }

  // The action's button: a click runs it, it is disabled while the action is, and its tooltip
  // names the key.
  bind(button: HTMLButtonElement, id: string): void {
    const action = this.get(id);
    button.addEventListener("click", () => this.run(id));
    if (action.keys?.length) {
      button.setAttribute("aria-keyshortcuts", action.keys.join(" "));
      button.title = `${action.label} (${action.keys.map(keyText).join(", ")})`;
    }
    this.views.push(() => {
      button.disabled = !this.enabled(id);
    });
  }

  // Shows again whether each bound button's action can run (after any change of the state).
  refresh(): void {
    for (const view of this.views) view();
  }

  // The keys of the page: the first enabled action a key names runs. Typing in a field keeps its
  // keys, and a key some control already took is left to it.
  listen(target: Document): void {
    target.addEventListener("keydown", (e) => {
      if (e.defaultPrevented || isTextField(e.target)) return;
      const onControl =
        e.target instanceof HTMLElement &&
        e.target !== document.body &&
        !(e.target instanceof HTMLCanvasElement);
      for (const action of this.actions.values()) {
        if (action.canvasKeys && onControl) continue;
        if (!action.keys?.some((keys) => matches(chordOf(keys), e))) continue;
        if (!this.enabled(action.id) || action.keysEnabled?.() === false) continue;
        e.preventDefault();
        action.run();
        return;
      }
    });
  }
}
