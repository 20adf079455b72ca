// The decoder's worker: wav2cas's decoder (the core's) run away from the page, so that the page
// stays live and shows the progress. The page hands over the compiled module with each job; the
// core made from it is kept for the next one.
import { loadCore, type DecodeOptions, type DecodeResult, type TomkrinCore } from "./core/index";

export interface DecodeJob {
  module: WebAssembly.Module;
  name: string;
  wav: Uint8Array;
  options: DecodeOptions;
}

export type DecoderMessage =
  | { type: "progress"; stage: string; fraction: number }
  | { type: "done"; result: DecodeResult; recording: Uint8Array }
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
    const result = decoder.decodeRecording(job.name, job.wav, job.options, (progress) => {
      // A hundred steps are enough for the bar; fewer messages keep the decoder fast.
      const step = `${progress.stage} ${Math.floor(progress.fraction * 100)}`;
      if (step === last) return;
      last = step;
      post({ type: "progress", stage: progress.stage, fraction: progress.fraction });
    });
    // The recording goes back to the page, which plays the stretches of it the picture marks.
    const transfer: Transferable[] = [job.wav.buffer];
    if (result.tape) transfer.push(result.tape.buffer);
    if (result.picture) transfer.push(result.picture.buffer);
    post({ type: "done", result, recording: job.wav }, transfer);
  } catch (error) {
    post({ type: "failed", message: error instanceof Error ? error.message : String(error) });
  }
};
