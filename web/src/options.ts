// The level options and monster options windows of the editor as two forms. Unlike the windows,
// the fields apply to the level as they are edited, so that Save level saves what the forms show:
// the typing in one field is one step of the history until the field is left, each button that
// changes a field one step. A hexadecimal field the core does not read all of is refused in place,
// marked with the core's message, and the level keeps its value. Save and Save monster apply the
// form as the windows' buttons do, which leaves nothing to change once every field is applied.
import type { MonsterFieldTexts, TomkrinCore } from "./core/api";
import { byId, setStatus } from "./dom";
import type { EditorState } from "./state";

function input(id: string): HTMLInputElement {
  return byId<HTMLInputElement>(id);
}

// The standard level field's number as the editor's field reads it: digits only, else 0.
function standardLevelNumber(text: string): number {
  const digits = text.trim();
  return /^\d+$/.test(digits) ? Number(digits) : 0;
}

// The hexadecimal fields' refusals: the field marked, the core's message beside it.
class HexFields {
  private readonly messages = new Map<HTMLInputElement, HTMLElement>();

  constructor(
    private readonly core: TomkrinCore,
    fields: HTMLInputElement[],
  ) {
    for (const field of fields) {
      const message = document.createElement("span");
      message.id = `${field.id}-message`;
      message.className = "field-message";
      message.hidden = true;
      field.after(message);
      this.messages.set(field, message);
    }
  }

  // The field's text when the core reads all of it, else null with the field marked.
  read(field: HTMLInputElement): string | null {
    const error = this.core.hexFieldError(field.value);
    this.mark(field, error);
    return error === null ? field.value : null;
  }

  // The field as the level fills it, with nothing to refuse.
  show(field: HTMLInputElement, text: string): void {
    field.value = text;
    this.mark(field, null);
  }

  refused(field: HTMLInputElement): boolean {
    return field.getAttribute("aria-invalid") === "true";
  }

  // The first refused field of those given, focused, or false when there is none.
  focusRefused(fields: HTMLInputElement[]): boolean {
    const first = fields.find((field) => this.refused(field));
    first?.focus();
    return first !== undefined;
  }

  private mark(field: HTMLInputElement, error: string | null): void {
    const message = this.messages.get(field);
    if (!message) return;
    message.textContent = error ?? "";
    message.hidden = error === null;
    if (error === null) {
      field.removeAttribute("aria-invalid");
      field.removeAttribute("aria-describedby");
    } else {
      field.setAttribute("aria-invalid", "true");
      field.setAttribute("aria-describedby", message.id);
    }
  }
}

// Set while either form puts its fields into the level: they already show what the level takes,
// and a text refused in the other form stays there to be mended.
let formApplying = false;

function applyForm(state: EditorState, level: Uint8Array, typing: HTMLInputElement | null): void {
  formApplying = true;
  try {
    state.setOptions(level, typing?.id ?? null);
  } finally {
    formApplying = false;
  }
}

// The title's letters as the game shows them: upper case, the caret where it was.
function upperCaseTitle(title: HTMLInputElement): void {
  const upper = title.value.replace(/[a-z]+/g, (letters) => letters.toUpperCase());
  if (upper === title.value) return;
  const { selectionStart, selectionEnd } = title;
  title.value = upper;
  title.setSelectionRange(selectionStart, selectionEnd);
}

export function buildLevelOptions(core: TomkrinCore, state: EditorState): void {
  const title = input("lo-title");
  const manX = input("lo-man-x");
  const manY = input("lo-man-y");
  const start = input("lo-start");
  const standard = input("lo-standard");
  const end = input("lo-end");
  const exec = input("lo-exec");
  const numbers = [start, manX, manY];
  const hex = new HexFields(core, numbers);
  const keys = new Map([
    [start, "start"],
    [manX, "manX"],
    [manY, "manY"],
  ] as const);
  const showAddresses = () => {
    const stored = core.levelFields(state.level);
    end.value = core.formatHex(stored.endAddress);
    exec.value = core.formatHex(stored.execAddress);
  };
  const stored = () => core.levelOptionsFields(state.level);
  // The field as the level holds it, unless it holds a refused text still to be mended.
  const refresh = (field: HTMLInputElement, text: string) => {
    if (!hex.refused(field)) hex.show(field, text);
  };
  const fill = () => {
    const fields = stored();
    title.value = fields.title;
    hex.show(manX, fields.manX);
    hex.show(manY, fields.manY);
    hex.show(start, fields.start);
    showAddresses();
  };

  // The form into the level, as Save does it, a refused field giving the level's own value.
  // `typing` is the field typed in, whose further typing amends the same step.
  const apply = (typing: HTMLInputElement | null) => {
    const kept = stored();
    const result = core.applyLevelOptions(state.level, {
      start: hex.read(start) ?? kept.start,
      manX: hex.read(manX) ?? kept.manX,
      manY: hex.read(manY) ?? kept.manY,
      title: title.value,
    });
    applyForm(state, result.level, typing);
    showAddresses();
    return result;
  };

  for (const field of [title, ...numbers]) {
    field.addEventListener("input", () => {
      if (field === title) upperCaseTitle(title);
      apply(field);
    });
    // Left, the field shows the value as the level holds it ("0x1e6" as 1E6); the title keeps
    // its typing, which the level holds padded with blanks.
    field.addEventListener("change", () => {
      state.endFieldEdit();
      const key = keys.get(field);
      if (key) refresh(field, stored()[key]);
    });
  }
  byId("lo-center").addEventListener("click", () => {
    title.value = core.centreTitle(title.value);
    apply(null);
  });
  byId("lo-next").addEventListener("click", () => {
    // From the level's own start while the field holds a refused text.
    start.value = core.nextLevelStart(hex.read(start) ?? stored().start);
    apply(null);
    refresh(start, stored().start);
  });
  byId("lo-set").addEventListener("click", () => {
    start.value = core.standardLevelStart(standardLevelNumber(standard.value));
    apply(null);
    refresh(start, stored().start);
  });
  byId<HTMLFormElement>("level-options").addEventListener("submit", (e) => {
    e.preventDefault();
    const result = apply(null);
    if (hex.focusRefused(numbers)) return;
    fill();
    title.value = result.shownTitle;
    setStatus(result.status);
  });

  state.subscribe((changes) => {
    if (changes.has("options") && !formApplying) fill();
  });
  fill();
}

const MONSTER_FIELDS: (keyof MonsterFieldTexts)[] = [
  "startX",
  "startY",
  "endX",
  "endY",
  "direction",
  "type",
  "colour",
];

const FIELD_IDS: Record<keyof MonsterFieldTexts, string> = {
  startX: "mo-start-x",
  startY: "mo-start-y",
  endX: "mo-end-x",
  endY: "mo-end-y",
  direction: "mo-direction",
  type: "mo-type",
  colour: "mo-color",
};

export function buildMonsterOptions(core: TomkrinCore, state: EditorState): void {
  const types = core.monsterTypes();
  const field = (name: keyof MonsterFieldTexts) => input(FIELD_IDS[name]);
  const fields = MONSTER_FIELDS.map(field);
  const hex = new HexFields(core, fields);
  const monsterRadios = Array.from(
    document.querySelectorAll<HTMLInputElement>('input[name="mo-monster"]'),
  );
  const directionRadios = Array.from(
    document.querySelectorAll<HTMLInputElement>('input[name="mo-dir"]'),
  );
  const typeDescription = byId("mo-type-description");
  const colourDescription = byId("mo-color-description");
  // As in the window: the type and colour cursors (the monster being edited is the state's).
  let typeCursor = 0;
  let colourCursor = 0;
  const showType = () => {
    typeDescription.textContent = types[typeCursor]?.label ?? "";
  };
  const showColour = () => {
    hex.show(field("colour"), core.colourField(colourCursor));
    colourDescription.textContent = core.colourDescription(colourCursor);
  };

  const select = (k: number) => {
    const view = core.selectMonster(state.level, k);
    for (const name of MONSTER_FIELDS) hex.show(field(name), view.fields[name]);
    directionRadios.forEach((radio) => {
      radio.checked = Number(radio.value) === view.directionSelector;
    });
    monsterRadios.forEach((radio) => {
      radio.checked = Number(radio.value) === k;
    });
    typeCursor = view.typeCursor;
    colourCursor = view.colourCursor;
    // The type field keeps the stored code, which may be the one above the entry's own.
    showType();
    colourDescription.textContent = core.colourDescription(colourCursor);
  };

  // The seven fields into the monster, as Save monster does it, a refused field giving the
  // monster's own value. `typing` is the field typed in, whose further typing amends the step.
  const apply = (typing: HTMLInputElement | null) => {
    const k = state.selectedMonster;
    const kept = core.selectMonster(state.level, k).fields;
    const texts = {} as MonsterFieldTexts;
    for (const name of MONSTER_FIELDS) texts[name] = hex.read(field(name)) ?? kept[name];
    applyForm(state, core.applyMonster(state.level, k, texts), typing);
  };

  monsterRadios.forEach((radio) =>
    radio.addEventListener("change", () => {
      if (radio.checked) state.selectMonster(Number(radio.value));
    }),
  );
  directionRadios.forEach((radio) =>
    radio.addEventListener("change", () => {
      if (!radio.checked) return;
      hex.show(field("direction"), core.formatHex(Number(radio.value)));
      apply(null);
    }),
  );
  for (const name of MONSTER_FIELDS) {
    const box = field(name);
    box.addEventListener("input", () => apply(box));
    // Left, the field shows the value as the monster holds it (its low 8 bits).
    box.addEventListener("change", () => {
      state.endFieldEdit();
      if (!hex.refused(box))
        hex.show(box, core.selectMonster(state.level, state.selectedMonster).fields[name]);
    });
  }
  const step = (id: string, action: () => void) =>
    byId(id).addEventListener("click", () => {
      action();
      apply(null);
    });
  step("mo-type-up", () => {
    typeCursor = core.nextMonsterType(typeCursor);
    hex.show(field("type"), core.monsterTypeField(typeCursor));
    showType();
  });
  step("mo-type-down", () => {
    typeCursor = core.previousMonsterType(typeCursor);
    hex.show(field("type"), core.monsterTypeField(typeCursor));
    showType();
  });
  step("mo-color-up", () => {
    colourCursor = core.nextColour(colourCursor);
    showColour();
  });
  step("mo-color-down", () => {
    colourCursor = core.previousColour(colourCursor);
    showColour();
  });
  step("mo-clear", () => {
    const cleared = core.clearedMonsterFields();
    for (const name of MONSTER_FIELDS) hex.show(field(name), cleared[name]);
  });
  byId<HTMLFormElement>("monster-options").addEventListener("submit", (e) => {
    e.preventDefault();
    apply(null);
    hex.focusRefused(fields);
  });

  state.subscribe((changes) => {
    if ((changes.has("options") && !formApplying) || changes.has("monster"))
      select(state.selectedMonster);
  });
  select(state.selectedMonster);
}
