// The typed interface of the core's WebAssembly module: what the page may ask of the core. Every
// rule and every text behind these functions is the core's (the same code as the Win32 editor's
// and the command-line tools'); the module's binding layer (web/bindings/) only converts.
//
// A level travels as its 493-byte level file (a Uint8Array): the page's state holds those bytes,
// every change returns new bytes, and Save level writes them as they are.

export type LevelFile = Uint8Array;

export interface Block {
  code: number; // the byte a cell holds
  name: string; // as the catalogue names it: "Air", "Key", ... (the palette button's name)
}

export type PenButton = "left" | "right";

export interface GridCell {
  col: number; // 0 to 23
  row: number; // 0 to 17
}

// A monster as the level stores it, in monster coordinates (8 to a cell, x = col * 8 + 16,
// y = row * 8).
export interface Monster {
  startX: number;
  startY: number;
  endX: number;
  endY: number;
  direction: number; // 0 west, 1 north, 2 east, 3 south, 0xFF none
  type: number; // a code of monsterTypes() (or that code + 1); 0xFF unused
  colour: number; // 0 to 15
}

export interface LevelFields {
  title: string; // as stored, up to its first NUL: the level options window's title field
  startAddress: number;
  endAddress: number;
  execAddress: number;
  manStartX: number;
  manStartY: number;
  monsters: Monster[]; // the four monsters
}

// The level options window's fields as text, as the window shows and reads them: the addresses and
// positions in hexadecimal without prefix ("CA00"), the title as typed.
export interface LevelOptionsFields {
  start: string;
  manX: string;
  manY: string;
  title: string;
}

// The monster options window's seven fields of one monster as hexadecimal text, in the order of
// the level record.
export interface MonsterFieldTexts {
  startX: string;
  startY: string;
  endX: string;
  endY: string;
  direction: string;
  type: string;
  colour: string;
}

// What the monster options window shows when a monster is selected.
export interface MonsterView {
  fields: MonsterFieldTexts; // the stored values
  directionSelector: number; // the direction button to check, 0 to 3 (W, N, E, S), or -1: none
  typeCursor: number; // index into monsterTypes()
  colourCursor: number; // the colour cursor: 0 to 15, or the stored value outside them
}

export interface MonsterType {
  label: string; // e.g. "Pink ghost [00]" as the window shows it
  code: number;
}

// A picture as an ImageData takes it: RGBA, rows from the top.
export interface RgbaImage {
  width: number;
  height: number;
  data: Uint8ClampedArray;
}

export interface NamedBytes {
  name: string;
  bytes: Uint8Array;
}

// "picture": a picture of a level that carries it (Save picture's, `tomkrin render`'s).
export type OpenedKind = "level" | "map" | "picture" | "tape" | "recording";

// What opening a file gave. `error` is one line "FILE: WHAT" in the core's words; then the other
// fields are absent and the page keeps what it had.
export interface OpenResult {
  kind?: OpenedKind;
  level?: LevelFile; // for a level file, a map or a picture
  error?: string;
}

// One row of the tape's block directory, as `tomkrin info` lists it.
export interface TapeDirectoryRow {
  block: number;
  offset: number; // of the first byte after the block's marker
  size: number;
  kind: string; // "binary", "BASIC", "ASCII" or "data"
  name: string; // file headers: the file name, characters that do not print shown as '?'
  addresses?: { load: number; end: number; exec: number }; // binary files' data
  fault: string; // "holds 16446 of the 16447 bytes that its header announces", or ""
}

export interface TapeLevel {
  n: number; // 0 to 19
  caption: string; // as the contact sheet captions it: "7 ICE PALACE"
  title: string; // the title as a line of text shows it
  level: LevelFile; // as `tomkrin extract` writes it (the sheet's empty level when it refuses)
  error?: string; // why `tomkrin extract` refuses the slot ("TAPE: too short: ..."), if it does
}

export interface TapeLevels {
  gameTape: boolean;
  why: string; // for a tape that is not the game's: why not
  levels: TapeLevel[]; // the 20 standard levels of the game's tape; empty for another tape
}

// Where Insert puts the level, as typed: a standard level number (0 to 19), or a byte offset in
// hexadecimal. The core reads either as `tomkrin insert` reads its level and --address.
export type InsertPlace = { slot: string } | { offset: string };

export interface InsertResult {
  tape?: Uint8Array;
  slot?: number; // the standard level the level went into, when placed by slot
  // "FILE: WHAT" as `tomkrin insert` says it; for a slot or an offset its parser refuses, "TAPE:"
  // and the rule `tomkrin insert` gives: "the level is a number from 0 to 19", ...
  error?: string;
}

export interface LoadingInstructions {
  // The kind of the first file header as the core names a block's kind; "data" for a tape with none.
  kind: "binary" | "BASIC" | "ASCII" | "data";
  fileName: string; // the name in the first file header
  // What to type on the MSX, one command a line: ['BLOAD"CAS:",R'], ['CLOAD', 'RUN'], ...
  commands: string[];
  // The sentence that says it, e.g. for a tape with no file header.
  text: string;
}

export interface RecordingBlock {
  start: number; // seconds into the recording where its lead-in tone starts
  dataStart: number; // seconds where its first byte starts
  end: number; // seconds where its last byte ends
  kind: string; // "binary", "BASIC", "ASCII" (file headers) or "data"
  name: string; // a file header's file name
  label: string; // 'binary file header "TOMKRI"', 'data'
}

export interface Recording {
  wav: Uint8Array; // cas2wav's .wav, byte for byte
  seconds: number;
  blocks: RecordingBlock[];
}

export interface DecodeOptions {
  baud?: 1200 | 2400; // listen for this baud rate only (otherwise found for each block)
  channel?: "left" | "right"; // of a stereo recording (otherwise both or the louder one)
}

// The stage the decoder is in, and how far the whole decode has come (0 to 1).
export interface DecodeProgress {
  stage: "reading" | "signal" | "decoding" | "report";
  fraction: number;
}

// A block of the decoded image: seconds in the recording (the take it was taken from), bytes of
// the image (its marker not counted), the file it belongs to ("" for none).
export interface DecodedBlock {
  take: number; // index into DecodeResult.takes
  start: number;
  end: number;
  offset: number;
  length: number;
  file: string;
}

// Something in the image that may be wrong: every such byte lies in one.
export interface DecodeProblem {
  take: number; // the recording its start and end are in: index into DecodeResult.takes
  kind: string; // "lost", "unsure", "framing", "cut short", ...
  offset: number;
  length: number;
  start: number;
  end: number;
  text: string; // the report's words: "bytes 8271 to 8275 lost in a dropout of 40 ms"
}

export interface DecodeResult {
  tape?: Uint8Array; // the tape image wav2cas writes; absent when no tape signal was heard
  report: string[]; // wav2cas's lines
  clean: boolean; // wav2cas's exit status 0
  error?: string; // "FILE: WHAT" when nothing was decoded
  takes?: { name: string; seconds: number }[]; // the recordings decoded, how long each is
  blocks?: DecodedBlock[];
  problems?: DecodeProblem[];
  picture?: Uint8Array; // PNG: the recording with its blocks and problems, time across
}

export interface TomkrinCore {
  // Level and catalogue.
  defaultLevel(): LevelFile;
  blocks(): Block[]; // the 45 in catalogue order
  blockIndexOfCode(code: number): number; // -1 for a code no block has
  cellCode(level: LevelFile, col: number, row: number): number;
  withCell(level: LevelFile, col: number, row: number, code: number): LevelFile;
  // A click of the editor's pen: a left click places `code` in the cell and makes it the anchor,
  // a right click paints the line from the anchor towards it (the cell itself left out, steps off
  // the grid left out). One level, one step of the history.
  withClick(
    level: LevelFile,
    button: PenButton,
    anchor: GridCell,
    cell: GridCell,
    code: number,
  ): { level: LevelFile; anchor: GridCell };
  // The clicks a move with these buttons held repeats, in order.
  clicksOfMove(left: boolean, right: boolean): PenButton[];
  leftClickStatus(col: number, row: number): string;
  rightClickStatus(col: number, row: number): string;
  selectedBlockStatus(blockIndex: number): string;
  levelFields(level: LevelFile): LevelFields;

  // The level options window.
  levelOptionsFields(level: LevelFile): LevelOptionsFields;
  // Save: the start (16 bits), end = start + 0x1BE, exec 0, the man's start (8 bits each), the
  // title padded with blanks; `shownTitle` is the title field as the window then shows it, and
  // `status` the status line.
  applyLevelOptions(
    level: LevelFile,
    fields: LevelOptionsFields,
  ): { level: LevelFile; shownTitle: string; status: string };
  centreTitle(text: string): string; // Center
  nextLevelStart(start: string): string; // "+ 0x1E6"
  standardLevelStart(n: number): string; // Set, with the standard level field's number
  parseHex16(text: string): number;
  formatHex(value: number): string;
  // A hexadecimal field of either window: null when parseHex16 reads all of its text, else why it
  // is refused ("ZZ", "1G", an empty field), in the core's words.
  hexFieldError(text: string): string | null;

  // The monster options window.
  monsterTypes(): MonsterType[];
  colours(): string[]; // the 16 colours' names
  colourDescription(code: number): string;
  monsterTypeIndex(code: number): number;
  nextMonsterType(index: number): number;
  previousMonsterType(index: number): number;
  nextColour(cursor: number): number;
  previousColour(cursor: number): number;
  selectMonster(level: LevelFile, k: number): MonsterView;
  // The type field after the type cursor moved: the entry's own code.
  monsterTypeField(typeCursor: number): string;
  colourField(colourCursor: number): string; // the colour field for the colour cursor
  // Save monster: each field's hexadecimal value, its low 8 bits, into monster k (0 to 3).
  applyMonster(level: LevelFile, k: number, fields: MonsterFieldTexts): LevelFile;
  clearedMonsterFields(): MonsterFieldTexts; // Clear monster: 0xFF in every field

  // Pictures.
  canvasImage(level: LevelFile): RgbaImage; // 384 x 288: the grid with the monsters' paths
  blockImages(): RgbaImage[]; // 16 x 16 each, in catalogue order
  // Where a monster at monster coordinates (x, y) stands on the canvas image (the centre of the
  // cell they name), and back: the monster coordinates nearest to a pixel of it.
  monsterPixel(x: number, y: number): { px: number; py: number };
  monsterOfPixel(px: number, py: number): { x: number; y: number };
  // `tomkrin render`: the picture, carrying the level, so that Open takes it back.
  renderLevelPng(level: LevelFile, scale: number): Uint8Array;

  // Files.
  // `otherFiles`: files given with it (a map's tilesets, by their names).
  openFile(name: string, bytes: Uint8Array, otherFiles?: NamedBytes[]): OpenResult;
  // `tomkrin export -o BASENAME.FORMAT`: the map (first) and the files it needs beside it.
  tiledExport(
    level: LevelFile,
    format: "tmx" | "tmj",
    embedTileset: boolean,
    baseName?: string, // "level" when not given
  ): NamedBytes[];

  // Tape.
  tapeDirectory(tape: Uint8Array): TapeDirectoryRow[];
  tapeLevels(tape: Uint8Array, tapeName?: string): TapeLevels; // the name for the refusals
  sheetPng(tape: Uint8Array): Uint8Array; // `tomkrin render TAPE.cas`
  insertLevel(
    tape: Uint8Array,
    tapeName: string,
    level: LevelFile,
    levelName: string,
    place: InsertPlace,
    force: boolean,
    // How the page lets a foreign tape be taken all the same, said after the refusal.
    foreignHint?: string,
  ): InsertResult;
  loadingInstructions(tape: Uint8Array): LoadingInstructions;
  demoTape(): Uint8Array; // the tape image `mkdemotape` writes

  // Sound.
  // Throws with cas2wav's "TAPE: WHAT" for bytes that are no tape image.
  makeRecording(
    tape: Uint8Array,
    doubleSpeed: boolean,
    inverted: boolean,
    tapeName?: string,
  ): Recording;
  // wav2cas's decoder, of one recording or of several takes of one tape. Runs where it is
  // called: the page calls it in its worker.
  decodeRecordings(
    recordings: NamedBytes[],
    options: DecodeOptions,
    onProgress?: (progress: DecodeProgress) => void,
  ): DecodeResult;
}
