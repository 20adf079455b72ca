// The compiled WebAssembly module, fetched from the page's own files (or, in the single file, from
// the data URL it is inlined as). The page compiles it once and hands the compiled module to the
// decoder's worker, which then needs no address of its own (a worker inlined as a blob has none).
import wasmUrl from "tomkrin-wasm/tomkrin-core.wasm?url";

export async function compileCoreWasm(): Promise<WebAssembly.Module> {
  const response = await fetch(wasmUrl);
  if (!response.ok) throw new Error(`cannot load ${wasmUrl}: ${response.status}`);
  return WebAssembly.compile(await response.arrayBuffer());
}
