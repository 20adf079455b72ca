// Sound: the tape as cas2wav's recording (made by the core), saved as .wav or played through Web
// Audio with the elapsed and total time and the block now sounding, the MSX's loading
// instructions for the tape, and recordings decoded by wav2cas's decoder in the worker.
import type { DecodeResult, NamedBytes, Recording, TomkrinCore } from "./core/api";
import type { DecodeJob, DecoderMessage } from "./decoder.worker";
import DecoderWorker from "./decoder.worker.ts?worker&inline";
import { byId, clearAlert, download, setStatus, showAlert } from "./dom";
import { baseName } from "./filenames";
import { showPanel } from "./panels";
import type { EditorState } from "./state";

// Lets the browser draw what the page just showed before the core's work holds the page; a tab
// out of sight draws no frames, so it does not wait for one long.
function afterPaint(): Promise<void> {
  return new Promise((done) => {
    requestAnimationFrame(() => setTimeout(done, 0));
    setTimeout(done, 100);
  });
}

function clock(seconds: number): string {
  const whole = Math.floor(seconds);
  return `${Math.floor(whole / 60)}:${String(whole % 60).padStart(2, "0")}`;
}

// Plays one recording: start, pause (and go on from there), stop (back to the start).
class Player {
  private context: AudioContext | null = null;
  private buffer: AudioBuffer | null = null;
  private source: AudioBufferSourceNode | null = null;
  private offset = 0;
  private startedAt = 0;
  onEnded: () => void = () => undefined;

  get playing(): boolean {
    return this.source !== null;
  }

  // A recording is in the player, ready to play.
  get loaded(): boolean {
    return this.buffer !== null;
  }

  get elapsed(): number {
    if (this.context && this.source) return this.context.currentTime - this.startedAt;
    return this.offset;
  }

  // The recording as Web Audio plays it; `use` puts it into the player.
  async decode(wav: Uint8Array): Promise<AudioBuffer> {
    this.context ??= new AudioContext();
    return this.context.decodeAudioData(wav.slice().buffer);
  }

  use(buffer: AudioBuffer): void {
    this.stop();
    this.buffer = buffer;
  }

  unload(): void {
    this.stop();
    this.buffer = null;
  }

  async play(): Promise<void> {
    if (!this.context || !this.buffer || this.source) return;
    await this.context.resume();
    const source = this.context.createBufferSource();
    source.buffer = this.buffer;
    source.connect(this.context.destination);
    source.onended = () => {
      if (this.source !== source) return;
      this.source = null;
      this.offset = 0;
      this.onEnded();
    };
    this.startedAt = this.context.currentTime - this.offset;
    source.start(0, this.offset);
    this.source = source;
  }

  pause(): void {
    if (!this.source) return;
    this.offset = this.elapsed;
    this.halt();
  }

  stop(): void {
    this.halt();
    this.offset = 0;
  }

  private halt(): void {
    const source = this.source;
    this.source = null;
    if (source) {
      source.onended = null;
      source.stop();
    }
  }
}

export class Sound {
  private recording: Recording | null = null;
  private recordingName = "";
  // A recording is being made and put into the player; Play waits for it.
  private making = false;
  // Counts the recordings asked for, so that one the tape's change made useless is dropped.
  private job = 0;
  private readonly player = new Player();
  private timer = 0;
  private worker: Worker | null = null;

  constructor(
    private readonly core: TomkrinCore,
    private readonly state: EditorState,
    private readonly module: WebAssembly.Module,
    private readonly openTape: (name: string, bytes: Uint8Array) => void,
  ) {
    byId("make-recording").addEventListener("click", () => void this.makeRecording());
    byId("save-recording").addEventListener("click", () => this.saveRecording());
    byId("play").addEventListener("click", () => void this.play());
    byId("pause").addEventListener("click", () => {
      this.player.pause();
      this.showTime();
    });
    byId("stop").addEventListener("click", () => {
      this.player.stop();
      this.showTime();
    });
    this.player.onEnded = () => this.showTime();
    state.subscribe((changes) => {
      if (changes.has("tape")) this.tapeChanged();
    });
    this.tapeChanged();
  }

  private tapeChanged(): void {
    this.job++;
    this.making = false;
    this.recording = null;
    this.player.unload();
    this.showTime();
    this.showInstructions();
  }

  private showControls(): void {
    const hasTape = this.state.tape !== null;
    const hasRecording = this.recording !== null;
    byId<HTMLButtonElement>("make-recording").disabled = !hasTape || this.making;
    byId<HTMLButtonElement>("save-recording").disabled = !hasRecording;
    for (const id of ["play", "pause", "stop"])
      byId<HTMLButtonElement>(id).disabled = !this.player.loaded;
    byId("sound-panel").setAttribute("aria-busy", String(this.making));
    byId("recording-state").textContent = this.making ? "Making the recording…" : "";
  }

  private showInstructions(): void {
    const box = byId("instructions");
    box.replaceChildren();
    const tape = this.state.tape;
    if (!tape) return;
    const instructions = this.core.loadingInstructions(tape.bytes);
    const heading = document.createElement("h3");
    heading.textContent = "Loading it on the MSX";
    const text = document.createElement("p");
    text.textContent = instructions.text;
    box.append(heading, text);
    if (instructions.commands.length > 0) {
      const list = document.createElement("ol");
      for (const command of instructions.commands) {
        const item = document.createElement("li");
        const code = document.createElement("code");
        code.textContent = command;
        item.append(code);
        list.append(item);
      }
      box.append(list);
    }
  }

  // The recording made by the core, then decoded for the player: Play is enabled once it can
  // play, and the panel says meanwhile that the recording is being made.
  private async makeRecording(): Promise<void> {
    const tape = this.state.tape;
    if (!tape || this.making) return;
    const job = ++this.job;
    const double = byId<HTMLInputElement>("double-baud").checked;
    const inverted = byId<HTMLInputElement>("inverted").checked;
    this.making = true;
    this.recording = null;
    this.player.unload();
    this.showTime();
    await afterPaint();
    if (job !== this.job) return;
    let recording: Recording;
    try {
      recording = this.core.makeRecording(tape.bytes, double, inverted, tape.name);
    } catch (error) {
      this.making = false;
      this.showTime();
      showAlert(error instanceof Error ? error.message : String(error));
      return;
    }
    this.recording = recording;
    this.recordingName = `${baseName(tape.name)}.wav`;
    this.showTime();
    try {
      const buffer = await this.player.decode(recording.wav);
      if (job !== this.job) return;
      this.player.use(buffer);
      setStatus(`Recording made: ${clock(recording.seconds)}`);
    } catch (error) {
      if (job !== this.job) return;
      showAlert(`${this.recordingName}: ${error instanceof Error ? error.message : String(error)}`);
    }
    this.making = false;
    this.showTime();
  }

  private saveRecording(): void {
    if (!this.recording) return;
    download(this.recordingName, this.recording.wav, "audio/wav");
  }

  private async play(): Promise<void> {
    await this.player.play();
    window.clearInterval(this.timer);
    this.timer = window.setInterval(() => {
      this.showTime();
      if (!this.player.playing) window.clearInterval(this.timer);
    }, 200);
    this.showTime();
  }

  private showTime(): void {
    this.showControls();
    const recording = this.recording;
    const elapsed = recording ? Math.min(this.player.elapsed, recording.seconds) : 0;
    byId("play-time").textContent = `${clock(elapsed)} / ${clock(recording?.seconds ?? 0)}`;
    let sounding = "";
    if (recording && (this.player.playing || elapsed > 0)) {
      const index = recording.blocks.findIndex((b) => elapsed >= b.start && elapsed < b.end);
      const block = recording.blocks[index];
      sounding = block
        ? `Now sounding: block ${index + 1} of ${recording.blocks.length}, ${block.label}`
        : "Now sounding: the silence between blocks";
    }
    byId("play-block").textContent = sounding;
  }

  // A recording given to the page, or several takes of one tape given together: decoded in the
  // worker, the tape it gives opened.
  decode(recordings: NamedBytes[]): void {
    const first = recordings[0];
    if (!first) return;
    this.worker?.terminate();
    const worker = new DecoderWorker();
    this.worker = worker;
    const name = recordings.map((r) => r.name).join(", ");
    const box = byId("decoding");
    const label = byId("decode-label");
    const progress = byId<HTMLProgressElement>("decode-progress");
    const report = byId("decode-report");
    box.hidden = false;
    byId("decode-picture").hidden = true;
    showPanel("sound-panel");
    label.textContent = `Decoding ${name}`;
    progress.value = 0;
    report.textContent = "";
    worker.onmessage = (event: MessageEvent<DecoderMessage>) => {
      const message = event.data;
      if (message.type === "progress") {
        progress.value = message.fraction;
        label.textContent = `Decoding ${name}: ${message.stage}`;
        return;
      }
      worker.terminate();
      if (this.worker === worker) this.worker = null;
      if (message.type === "failed") {
        label.textContent = `Decoding ${name} failed`;
        showAlert(`${name}: ${message.message}`);
        return;
      }
      const result = message.result;
      progress.value = 1;
      label.textContent = `Decoded ${name}`;
      report.textContent = result.report.join("\n");
      this.showPicture(result, message.recordings);
      if (result.error || !result.tape) {
        showAlert(result.error ?? `${name}: no tape`);
        return;
      }
      clearAlert();
      this.openTape(`${baseName(first.name)}.cas`, result.tape);
    };
    const job: DecodeJob = { module: this.module, recordings, options: {} };
    worker.postMessage(job, [...new Set(recordings.map((r) => r.bytes.buffer))]);
  }

  // The decoded recordings' picture, a row per take; a click on a stretch marked as a problem
  // plays it from the take it lies in, with a quarter second around it.
  private showPicture(result: DecodeResult, recordings: NamedBytes[]): void {
    const picture = byId<HTMLImageElement>("decode-picture");
    URL.revokeObjectURL(picture.src);
    const takes = result.takes ?? [];
    if (!result.picture || takes.length === 0) {
      picture.hidden = true;
      return;
    }
    picture.src = URL.createObjectURL(
      new Blob([result.picture as Uint8Array<ArrayBuffer>], { type: "image/png" }),
    );
    picture.hidden = false;
    // Time runs across the picture to the longest take's end.
    const seconds = Math.max(
      ...takes.map((t) => t.seconds),
      ...(result.blocks ?? []).map((b) => b.end),
    );
    const audio = new Map<number, Promise<AudioBuffer>>();
    picture.onclick = (event: MouseEvent) => {
      // Within two pixels of a mark: the shortest stretches are a pixel wide.
      const perPixel = seconds / picture.clientWidth;
      const at = event.offsetX * perPixel;
      const problem = (result.problems ?? []).find(
        (p) => at >= p.start - 2 * perPixel && at <= p.end + 2 * perPixel,
      );
      const recording = problem && recordings[problem.take];
      if (!problem || !recording) return;
      let buffer = audio.get(problem.take);
      if (!buffer) {
        buffer = this.player.decode(recording.bytes);
        audio.set(problem.take, buffer);
      }
      void buffer.then((b) => playStretch(b, problem.start - 0.25, problem.end + 0.25));
    };
  }
}

// Plays the recording from `start` to `end` (seconds), apart from the player.
function playStretch(buffer: AudioBuffer, start: number, end: number): void {
  const context = new AudioContext();
  const source = context.createBufferSource();
  source.buffer = buffer;
  source.connect(context.destination);
  source.onended = () => void context.close();
  const from = Math.max(0, start);
  source.start(0, from, Math.max(0.05, end - from));
}
