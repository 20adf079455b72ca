// Figures of the browser edition, measured in one run beside the native tools on the same inputs:
// decoding a recording in the page's worker against `wav2cas`, making a recording in the page
// against `cas2wav`, and the time from a right click to the line drawn on the canvas. Writes them
// as JSON to TK_BENCH_OUT; scripts/bench-web.sh turns them into docs/performance.md's section.
// Nothing here fails because a figure is slow.
import { spawnSync } from "node:child_process";
import { statSync, writeFileSync } from "node:fs";
import { join } from "node:path";
import type { Page } from "@playwright/test";
import { fixtures, nativeBin } from "../browser/paths";
import { button, cellPoint, openEditor, openFiles, Painter, test } from "../browser/support";

const ROUNDS = 5;

function nativeSeconds(tool: string, args: string[]): number {
  const start = performance.now();
  const run = spawnSync(join(nativeBin, tool), args, { encoding: "utf8" });
  const seconds = (performance.now() - start) / 1000;
  if (run.status !== 0) throw new Error(`${tool} failed: ${run.stderr}`);
  return seconds;
}

function median(values: number[]): number {
  const sorted = [...values].sort((a, b) => a - b);
  const mid = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? (sorted[mid] ?? 0) : ((sorted[mid - 1] ?? 0) + (sorted[mid] ?? 0)) / 2;
}

// Seconds from the file input's change to the decoder report's last line in the page.
async function pageDecodeSeconds(page: Page, wav: string, lastLine: string): Promise<number> {
  await page.evaluate((last) => {
    const w = window as unknown as { benchStart?: number; benchDone?: Promise<number> };
    document.addEventListener("change", () => (w.benchStart = performance.now()), {
      capture: true,
      once: true,
    });
    w.benchDone = new Promise<number>((resolve) => {
      const report = document.querySelector("[aria-label='Decoder report']");
      if (!report) throw new Error("no decoder report");
      report.textContent = "";
      const observer = new MutationObserver(() => {
        if (report.textContent?.includes(last)) {
          observer.disconnect();
          resolve(performance.now());
        }
      });
      observer.observe(report, { childList: true, characterData: true, subtree: true });
    });
  }, lastLine);
  await openFiles(page, wav);
  return page.evaluate(async () => {
    const w = window as unknown as { benchStart?: number; benchDone?: Promise<number> };
    const done = await w.benchDone;
    return ((done ?? 0) - (w.benchStart ?? 0)) / 1000;
  });
}

// Seconds from the click on Make recording to the recording ready to save.
async function pageRecordingSeconds(page: Page): Promise<number> {
  const save = button(page, "Save recording");
  await page.evaluate(() => {
    const w = window as unknown as { benchStart?: number; benchDone?: Promise<number> };
    const make = [...document.querySelectorAll("button")].find(
      (b) => b.textContent?.trim() === "Make recording",
    );
    const saveButton = [...document.querySelectorAll("button")].find(
      (b) => b.textContent?.trim() === "Save recording",
    );
    if (!make || !saveButton) throw new Error("no recording buttons");
    w.benchStart = undefined;
    make.addEventListener("click", () => (w.benchStart = performance.now()), {
      capture: true,
      once: true,
    });
    w.benchDone = new Promise<number>((resolve) => {
      const observer = new MutationObserver(() => {
        if (!saveButton.disabled && w.benchStart !== undefined) {
          observer.disconnect();
          resolve(performance.now());
        }
      });
      observer.observe(document.body, {
        attributes: true,
        childList: true,
        subtree: true,
        characterData: true,
      });
    });
  });
  await button(page, "Make recording").click();
  const seconds = await page.evaluate(async () => {
    const w = window as unknown as { benchStart?: number; benchDone?: Promise<number> };
    const done = await w.benchDone;
    return ((done ?? 0) - (w.benchStart ?? 0)) / 1000;
  });
  await save.isEnabled();
  return seconds;
}

// Right-click lines corner to corner and back, each with another block: the time from the event
// to the end of the last canvas drawing it caused, whether that came within one frame interval,
// and the frame interval itself. The first two lines warm the page up and are not counted.
async function measureLines(page: Page) {
  const line = { eventToDrawnMs: [] as number[], withinFrame: 0, lines: 0, frameMs: 0 };
  await page.evaluate(() => {
    const w = window as unknown as {
      lastDraw: number;
      lines: { at: number; drawn: number; frame: number }[];
    };
    w.lastDraw = 0;
    w.lines = [];
    const proto = CanvasRenderingContext2D.prototype;
    const drawImage = Object.getOwnPropertyDescriptor(proto, "drawImage")?.value as (
      this: CanvasRenderingContext2D,
      ...args: unknown[]
    ) => void;
    Object.defineProperty(proto, "drawImage", {
      value: function (this: CanvasRenderingContext2D, ...args: unknown[]) {
        drawImage.apply(this, args);
        w.lastDraw = performance.now();
      },
    });
    window.addEventListener(
      "pointerdown",
      (e) => {
        if (e.button !== 2) return;
        const at = e.timeStamp;
        requestAnimationFrame(() =>
          setTimeout(() => w.lines.push({ at, drawn: w.lastDraw, frame: performance.now() })),
        );
      },
      { capture: true },
    );
  });
  const painter = new Painter(page);
  const blocks = ["Brick", "Key", "Ladder", "Heart"];
  const corners: [number, number][] = [
    [0, 0],
    [23, 17],
  ];
  await button(page, "New").click();
  for (let i = 0; i < 26; i++) {
    await painter.select(blocks[i % blocks.length] ?? "Brick");
    const [from, to] = i % 2 ? [corners[1], corners[0]] : [corners[0], corners[1]];
    await painter.click(from?.[0] ?? 0, from?.[1] ?? 0);
    const p = await cellPoint(page, to?.[0] ?? 0, to?.[1] ?? 0);
    await page.mouse.move(p.x, p.y);
    await page.mouse.down({ button: "right" });
    await page.mouse.up({ button: "right" });
    await page.waitForTimeout(50);
  }
  const lines = (
    await page.evaluate(
      () => (window as unknown as { lines: { at: number; drawn: number; frame: number }[] }).lines,
    )
  ).slice(2);
  line.frameMs = await page.evaluate(
    () =>
      new Promise<number>((resolve) => {
        const times: number[] = [];
        const tick = (t: number) => {
          times.push(t);
          if (times.length < 61) requestAnimationFrame(tick);
          else resolve(((times[60] ?? 0) - (times[0] ?? 0)) / 60);
        };
        requestAnimationFrame(tick);
      }),
  );
  for (const l of lines) {
    const ms = l.drawn - l.at;
    line.eventToDrawnMs.push(ms);
    // Drawn after the event, before the next frame went out, and within a frame's time of it.
    if (ms > 0 && ms <= line.frameMs && l.drawn <= l.frame) line.withinFrame++;
  }
  line.lines = lines.length;
  return line;
}

test("figures", async ({ browser }) => {
  const dir = test.info().outputDir;
  const tape = join(fixtures, "demo.cas");
  const made = join(dir, "demo.wav");
  const wav = join(dir, "demo-44100.wav");
  spawnSync("mkdir", ["-p", dir]);
  nativeSeconds("cas2wav", [tape, made]);
  const sox = spawnSync("sox", [made, "-r", "44100", "-b", "16", wav]);
  if (sox.status !== 0) throw new Error("sox failed");
  const decoded = join(dir, "decoded.cas");
  const report = spawnSync(join(nativeBin, "wav2cas"), [wav, decoded], { encoding: "utf8" });
  const lastLine = report.stdout.trim().split("\n").pop() ?? "";

  const page = await openEditor(browser);
  const figures = {
    tape: { bytes: statSync(tape).size },
    wav: { bytes: statSync(wav).size, recordingBytes: statSync(made).size },
    decode: { native: [] as number[], page: [] as number[] },
    record: { native: [] as number[], page: [] as number[] },
    // First, on the page as it starts: the decoder's and the recordings' memory is not yet in use.
    line: await measureLines(page),
  };
  // Taken in turn, so that both see the machine as it is.
  for (let i = 0; i < ROUNDS; i++) {
    figures.decode.native.push(nativeSeconds("wav2cas", [wav, join(dir, "again.cas"), "-q"]));
    figures.decode.page.push(await pageDecodeSeconds(page, wav, lastLine));
  }
  await openFiles(page, tape);
  for (let i = 0; i < ROUNDS; i++) {
    figures.record.native.push(nativeSeconds("cas2wav", [tape, join(dir, "again.wav")]));
    figures.record.page.push(await pageRecordingSeconds(page));
  }

  await page.context().close();

  const out = process.env.TK_BENCH_OUT ?? join(dir, "figures.json");
  writeFileSync(
    out,
    JSON.stringify(
      {
        ...figures,
        summary: {
          decodeNative: Math.min(...figures.decode.native),
          decodePage: Math.min(...figures.decode.page),
          recordNative: Math.min(...figures.record.native),
          recordPage: Math.min(...figures.record.page),
          lineMedianMs: median(figures.line.eventToDrawnMs),
          lineMaxMs: Math.max(...figures.line.eventToDrawnMs),
        },
      },
      null,
      2,
    ),
  );
  console.log(`figures written to ${out}`);
});
