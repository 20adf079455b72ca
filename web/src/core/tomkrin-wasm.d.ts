// The emscripten output of the web tree (web/CMakeLists.txt), found through the alias
// "tomkrin-wasm" of vite.config.ts. Only web/src/core/ imports it.
declare module "tomkrin-wasm/tomkrin-core.js" {
  interface EmscriptenOptions {
    instantiateWasm(
      imports: WebAssembly.Imports,
      receive: (instance: WebAssembly.Instance, module: WebAssembly.Module) => void,
    ): object;
  }
  const createTomkrinCore: (options: EmscriptenOptions) => Promise<Record<string, unknown>>;
  export default createTomkrinCore;
}
