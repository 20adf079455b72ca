// The page's one way to the core: loads the WebAssembly module and wraps its functions in the typed
// interface of api.ts. Nothing else in the page imports the module (scripts check it).
//
// The binding layer hands texts that are bytes of a level (titles) over as bytes, one byte a
// character, so that every byte the level holds comes back as it was; this file turns them into
// strings and back. Other texts (messages, names) are UTF-8 strings.
import createTomkrinCore from "tomkrin-wasm/tomkrin-core.js";

import type {
  DecodeOptions,
  DecodeProgress,
  DecodeResult,
  InsertPlace,
  LevelFields,
  LevelFile,
  LevelOptionsFields,
  MonsterFieldTexts,
  NamedBytes,
  Recording,
  RecordingBlock,
  TomkrinCore,
} from "./api";

export type * from "./api";

type RawFunction = (...args: never[]) => unknown;
type RawBlock = Omit<RecordingBlock, "label">;
type RawModule = Record<string, unknown>;

// A title's bytes as text, one character a byte.
export function textOfBytes(bytes: Uint8Array): string {
  let text = "";
  for (const byte of bytes) text += String.fromCharCode(byte);
  return text;
}

// Text as bytes, one byte a character; a character beyond one byte becomes '?', as a Windows
// text box gives it to the editor in its code page.
export function bytesOfText(text: string): Uint8Array {
  const bytes = new Uint8Array(text.length);
  for (let i = 0; i < text.length; ++i) {
    const code = text.charCodeAt(i);
    bytes[i] = code <= 0xff ? code : 0x3f;
  }
  return bytes;
}

function wrap(raw: RawModule): TomkrinCore {
  // A function of the module, or one that says it is missing when it is called.
  const fn = <F extends RawFunction>(name: string): F => {
    const f = raw[name];
    if (typeof f === "function") return f as F;
    return ((): never => {
      throw new Error(`${name}: not bound yet`);
    }) as unknown as F;
  };
  const call = <R>(name: string, ...args: unknown[]): R =>
    (fn(name) as unknown as (...a: unknown[]) => R)(...args);

  const optionsIn = (f: LevelOptionsFields) => ({ ...f, title: bytesOfText(f.title) });
  const optionsOut = (
    f: LevelOptionsFields & { title: Uint8Array | string },
  ): LevelOptionsFields => ({
    ...f,
    title: typeof f.title === "string" ? f.title : textOfBytes(f.title),
  });

  return {
    defaultLevel: () => call("defaultLevel"),
    blocks: () => call("blocks"),
    blockIndexOfCode: (code) => call("blockIndexOfCode", code),
    cellCode: (level, col, row) => call("cellCode", level, col, row),
    withCell: (level, col, row, code) => call("withCell", level, col, row, code),
    withClick: (level, button, anchor, cell, code) =>
      call("withClick", level, button, anchor.col, anchor.row, cell.col, cell.row, code),
    clicksOfMove: (left, right) => call("clicksOfMove", left, right),
    leftClickStatus: (col, row) => call("leftClickStatus", col, row),
    rightClickStatus: (col, row) => call("rightClickStatus", col, row),
    selectedBlockStatus: (index) => call("selectedBlockStatus", index),
    levelFields: (level) => {
      const fields = call<LevelFields & { title: Uint8Array }>("levelFields", level);
      return { ...fields, title: textOfBytes(fields.title) };
    },

    levelOptionsFields: (level) => optionsOut(call("levelOptionsFields", level)),
    applyLevelOptions: (level, fields) => {
      const result = call<{ level: LevelFile; shownTitle: Uint8Array; status: string }>(
        "applyLevelOptions",
        level,
        optionsIn(fields),
      );
      return {
        level: result.level,
        shownTitle: textOfBytes(result.shownTitle),
        status: result.status,
      };
    },
    centreTitle: (text) => textOfBytes(call("centreTitle", bytesOfText(text))),
    nextLevelStart: (start) => call("nextLevelStart", start),
    standardLevelStart: (n) => call("standardLevelStart", n),
    parseHex16: (text) => call("parseHex16", text),
    formatHex: (value) => call("formatHex", value),
    hexFieldError: (text) =>
      call<boolean>("isHexNumber", text) ? null : call<string>("notHexNumberMessage"),

    monsterTypes: () => call("monsterTypes"),
    colours: () => call("colours"),
    colourDescription: (code) => call("colourDescription", code),
    monsterTypeIndex: (code) => call("monsterTypeIndex", code),
    nextMonsterType: (index) => call("nextMonsterType", index),
    previousMonsterType: (index) => call("previousMonsterType", index),
    nextColour: (cursor) => call("nextColour", cursor),
    previousColour: (cursor) => call("previousColour", cursor),
    selectMonster: (level, k) => call("selectMonster", level, k),
    monsterTypeField: (cursor) => call("monsterTypeField", cursor),
    colourField: (cursor) => call("colourField", cursor),
    applyMonster: (level, k, fields: MonsterFieldTexts) => call("applyMonster", level, k, fields),
    clearedMonsterFields: () => call("clearedMonsterFields"),

    canvasImage: (level) => call("canvasImage", level),
    blockImages: () => call("blockImages"),
    monsterPixel: (x, y) => call("monsterPixel", x, y),
    monsterOfPixel: (px, py) => call("monsterOfPixel", px, py),
    renderLevelPng: (level, scale) => call("renderLevelPng", level, scale),

    openFile: (name, bytes, otherFiles: NamedBytes[] = []) =>
      call("openFile", name, bytes, otherFiles),
    tiledExport: (level, format, embed, baseName = "level") =>
      call("tiledExport", level, `${baseName}.${format}`, embed),

    tapeDirectory: (tape) => call("tapeDirectory", tape),
    tapeLevels: (tape, tapeName = "tape.cas") => call("tapeLevels", tape, tapeName),
    sheetPng: (tape) => call("sheetPng", tape),
    insertLevel: (tape, tapeName, level, levelName, place: InsertPlace, force, foreignHint = "") =>
      call("insertLevel", { tape, tapeName, level, levelName, place, force, foreignHint }),
    loadingInstructions: (tape) => call("loadingInstructions", tape),
    demoTape: () => call("demoTape"),

    makeRecording: (tape, doubleSpeed, inverted, tapeName = "tape.cas") => {
      const made = call<Omit<Recording, "blocks"> & { blocks: RawBlock[]; error?: string }>(
        "makeRecording",
        tapeName,
        tape,
        doubleSpeed,
        inverted,
      );
      if (made.error) throw new Error(made.error);
      return {
        ...made,
        blocks: made.blocks.map((block) => ({
          ...block,
          label: block.kind === "data" ? "data" : `${block.kind} file header "${block.name}"`,
        })),
      };
    },
    decodeRecordings: (
      recordings: NamedBytes[],
      options: DecodeOptions,
      onProgress?: (progress: DecodeProgress) => void,
    ): DecodeResult =>
      call("decodeRecordings", recordings, options, onProgress ?? (() => undefined)),
  };
}

// Instantiates the module from its compiled form (compileCoreWasm, or one handed to a worker) or
// from its bytes, and gives the typed core.
export async function loadCore(
  wasm: WebAssembly.Module | ArrayBuffer | Uint8Array<ArrayBuffer>,
): Promise<TomkrinCore> {
  const compiled = wasm instanceof WebAssembly.Module ? wasm : await WebAssembly.compile(wasm);
  const raw = await createTomkrinCore({
    instantiateWasm(imports, receive) {
      void WebAssembly.instantiate(compiled, imports).then((instance) =>
        receive(instance, compiled),
      );
      return {};
    },
  });
  return wrap(raw);
}
