// File names as the page derives one from another: "demo.cas" saved as "demo.wav", "demo.png", ...

// The name without its last extension: "demo.cas" gives "demo"; a name without one, or one that
// only starts with a dot (".cas"), stays as it is.
export function baseName(name: string): string {
  const dot = name.lastIndexOf(".");
  return dot > 0 ? name.slice(0, dot) : name;
}
