// The decoder's worker: wav2cas's decoder (the core's) run away from the page, so that the page
// stays live and shows the progress. The page hands over the compiled module with each job; the
// core made from it is kept for the next one.
import {
  loadCore,
  type DecodeOptions,
  type DecodeResult,
  type NamedBytes,
  type TomkrinCore,
} from "./core/index";

// One recording, or several takes of one tape decoded together.
export interface DecodeJob {
  module: WebAssembly.Module;
  recordings: NamedBytes[];
  options: DecodeOptions;
}

export type DecoderMessage =
  | { type: "progress"; stage: string; fraction: number }
  | { type: "done"; result: DecodeResult; recordings: NamedBytes[] }
  | { type: "failed"; message: string };

let core: Promise<TomkrinCore> | null = null;

function post(message: DecoderMessage, transfer: Transferable[] = []): void {
  (self as unknown as Worker).postMessage(message, transfer);
}

self.onmessage = async (event: MessageEvent<DecodeJob>) => {
  const job = event.data;
  try {
    core ??= loadCore(job.module);
    const decoder = await core;
    let last = "";
    const result = decoder.decodeRecordings(job.recordings, job.options, (progress) => {
      // A hundred steps are enough for the bar; fewer messages keep the decoder fast.
      const step = `${progress.stage} ${Math.floor(progress.fraction * 100)}`;
      if (step === last) return;
      last = step;
      post({ type: "progress", stage: progress.stage, fraction: progress.fraction });
    });
    // The recordings go back to the page, which plays the stretches of them the picture marks.
    const transfer: Transferable[] = [...new Set(job.recordings.map((r) => r.bytes.buffer))];
    if (result.tape) transfer.push(result.tape.buffer);
    if (result.picture) transfer.push(result.picture.buffer);
    post({ type: "done", result, recordings: job.recordings }, transfer);
  } catch (error) {
    post({ type: "failed", message: error instanceof Error ? error.message : String(error) });
  }
};
