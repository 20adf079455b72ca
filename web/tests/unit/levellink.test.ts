import { describe, expect, it } from "vitest";
import { levelLink, levelOfFragment } from "../../src/levellink";

// A level file's worth of bytes: mostly one code, as a level's cells are, or noise that deflate
// cannot shrink.
function levelLike(): Uint8Array {
  const bytes = new Uint8Array(493).fill(0x20);
  bytes[0] = 0xfe;
  for (let i = 7; i < 493; i += 37) bytes[i] = i & 0xff;
  return bytes;
}

function noise(): Uint8Array {
  const bytes = new Uint8Array(493);
  let x = 12345;
  for (let i = 0; i < bytes.length; i++) {
    x = (x * 1103515245 + 12345) >>> 0;
    bytes[i] = x >>> 24;
  }
  return bytes;
}

describe("level links", () => {
  it("give the level file back from the link's fragment, the page's own fragment replaced", () => {
    for (const level of [levelLike(), noise()]) {
      const link = levelLink("https://example.org/tomkrin/#level=old", level);
      expect(link.startsWith("https://example.org/tomkrin/#level=")).toBe(true);
      const url = new URL(link);
      expect(url.hash).toMatch(/^#level=[A-Za-z0-9_-]+$/);
      expect(levelOfFragment(url.hash)).toEqual({ level });
      // Even bytes deflate cannot shrink leave room in a link of 1,000 characters for the page.
      expect(url.hash.length).toBeLessThanOrEqual(680);
    }
  });

  it("hold no level in another fragment, and a damaged one is refused", () => {
    expect(levelOfFragment("")).toBeNull();
    expect(levelOfFragment("#help")).toBeNull();
    const hash = new URL(levelLink("file:///tomkrin-web.html", levelLike())).hash;
    const damaged = { error: "its level is damaged (was the link cut short or changed?)" };
    for (const broken of [
      "#level=",
      hash.slice(0, hash.length - 10),
      `${hash.slice(0, 20)}!${hash.slice(21)}`,
      `#level=${"A".repeat(701)}`,
    ])
      expect(levelOfFragment(broken), broken).toEqual(damaged);
  });
});
