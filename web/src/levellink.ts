// A level as a link to the page: its 493-byte level file deflated (raw deflate) and written in
// base64url into the link's fragment, "#level=…", which the browser never sends to a server.
// Pure functions, no DOM: Copy link writes such a link, and the page opens the level of one.
import { deflateSync, inflateSync } from "fflate";

const FRAGMENT = "#level=";
// What a level file deflated can take: stored whole, 493 bytes make 498 and so 664 characters.
// A longer code was not written here, and is not inflated.
const LONGEST_CODE = 700;

// What the page's alerts call a link's level: "the link: too short for a level file: …".
export const LINK_NAME = "the link";

function base64url(bytes: Uint8Array): string {
  let binary = "";
  for (const byte of bytes) binary += String.fromCharCode(byte);
  return btoa(binary).replace(/\+/g, "-").replace(/\//g, "_").replace(/=+$/, "");
}

function bytesOfBase64url(code: string): Uint8Array {
  const binary = atob(code.replace(/-/g, "+").replace(/_/g, "/"));
  return Uint8Array.from(binary, (c) => c.charCodeAt(0));
}

// The fragment that holds `levelFile`: "#level=" and its code.
export function levelFragment(levelFile: Uint8Array): string {
  return FRAGMENT + base64url(deflateSync(levelFile, { level: 9 }));
}

// The link to the page at `pageAddress` (its own fragment, if any, left out) holding `levelFile`.
export function levelLink(pageAddress: string, levelFile: Uint8Array): string {
  const hash = pageAddress.indexOf("#");
  return (hash < 0 ? pageAddress : pageAddress.slice(0, hash)) + levelFragment(levelFile);
}

// What a page address's fragment (location.hash) holds: none (null) when it holds no level, the
// level file's bytes, or why they cannot be read. The bytes are the core's to judge as a level file.
export function levelOfFragment(hash: string): { level: Uint8Array } | { error: string } | null {
  if (!hash.startsWith(FRAGMENT)) return null;
  const code = hash.slice(FRAGMENT.length);
  const damaged = { error: "its level is damaged (was the link cut short or changed?)" };
  if (code.length > LONGEST_CODE || !/^[A-Za-z0-9_-]+$/.test(code) || code.length % 4 === 1)
    return damaged;
  try {
    return { level: inflateSync(bytesOfBase64url(code)) };
  } catch {
    return damaged;
  }
}
