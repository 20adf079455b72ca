// The level options and monster options windows of the editor as two forms. As there, the fields
// are a copy of the level: the level changes only with Save and Save monster (each a step of the
// history), and the fields are filled again whenever the level changes otherwise.
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

export function buildLevelOptions(core: TomkrinCore, state: EditorState): void {
  const title = input("lo-title");
  const manX = input("lo-man-x");
  const manY = input("lo-man-y");
  const start = input("lo-start");
  const standard = input("lo-standard");
  const end = input("lo-end");
  const exec = input("lo-exec");

  const fill = () => {
    const fields = core.levelOptionsFields(state.level);
    title.value = fields.title;
    manX.value = fields.manX;
    manY.value = fields.manY;
    start.value = fields.start;
    const stored = core.levelFields(state.level);
    end.value = core.formatHex(stored.endAddress);
    exec.value = core.formatHex(stored.execAddress);
  };

  byId("lo-center").addEventListener("click", () => {
    title.value = core.centreTitle(title.value);
  });
  byId("lo-next").addEventListener("click", () => {
    start.value = core.nextLevelStart(start.value);
  });
  byId("lo-set").addEventListener("click", () => {
    start.value = core.standardLevelStart(standardLevelNumber(standard.value));
  });
  byId<HTMLFormElement>("level-options").addEventListener("submit", (e) => {
    e.preventDefault();
    const result = core.applyLevelOptions(state.level, {
      start: start.value,
      manX: manX.value,
      manY: manY.value,
      title: title.value,
    });
    state.setOptions(result.level);
    fill();
    title.value = result.shownTitle;
    setStatus(result.status);
  });

  state.subscribe((changes) => {
    if (changes.has("options")) fill();
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
    field("colour").value = core.colourField(colourCursor);
    colourDescription.textContent = core.colourDescription(colourCursor);
  };

  const select = (k: number) => {
    const view = core.selectMonster(state.level, k);
    for (const name of MONSTER_FIELDS) field(name).value = view.fields[name];
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

  monsterRadios.forEach((radio) =>
    radio.addEventListener("change", () => {
      if (radio.checked) state.selectMonster(Number(radio.value));
    }),
  );
  // Only the field changes; the monster keeps its direction until Save monster.
  directionRadios.forEach((radio) =>
    radio.addEventListener("change", () => {
      if (radio.checked) field("direction").value = core.formatHex(Number(radio.value));
    }),
  );
  const step = (id: string, action: () => void) => byId(id).addEventListener("click", action);
  step("mo-type-up", () => {
    typeCursor = core.nextMonsterType(typeCursor);
    field("type").value = core.monsterTypeField(typeCursor);
    showType();
  });
  step("mo-type-down", () => {
    typeCursor = core.previousMonsterType(typeCursor);
    field("type").value = core.monsterTypeField(typeCursor);
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
    for (const name of MONSTER_FIELDS) field(name).value = cleared[name];
  });
  byId<HTMLFormElement>("monster-options").addEventListener("submit", (e) => {
    e.preventDefault();
    const fields = {} as MonsterFieldTexts;
    for (const name of MONSTER_FIELDS) fields[name] = field(name).value;
    state.setOptions(core.applyMonster(state.level, state.selectedMonster, fields));
  });

  state.subscribe((changes) => {
    if (changes.has("options") || changes.has("monster")) select(state.selectedMonster);
  });
  select(state.selectedMonster);
}
