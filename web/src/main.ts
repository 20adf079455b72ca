// A first page: loads the core and says so in the status line. The interface replaces it.
import { loadCore } from "./core/index";
import { compileCoreWasm } from "./core/wasm";

const status = document.querySelector('[role="status"]') ?? document.body;
void compileCoreWasm()
  .then(loadCore)
  .then((core) => {
    status.textContent = core.selectedBlockStatus(core.blockIndexOfCode(0x2d));
  });
