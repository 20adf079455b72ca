// Two fingers on the canvas zoom it: the zoom follows the change of the distance between them,
// from the zoom it had when the second finger came down. Only pointers of touch screens count.

interface Point {
  x: number;
  y: number;
}

export class Pinch {
  private readonly touches = new Map<number, Point>();
  private from: { distance: number; zoom: number } | null = null;

  // True while two fingers are down, or until every finger of a pinch is lifted: such pointers
  // do not paint.
  get active(): boolean {
    return this.from !== null;
  }

  // A finger came down; true when it makes a pinch start.
  down(e: PointerEvent, zoom: number): boolean {
    if (e.pointerType !== "touch") return false;
    this.touches.set(e.pointerId, { x: e.clientX, y: e.clientY });
    if (this.touches.size !== 2 || this.from) return false;
    this.from = { distance: Math.max(this.distance(), 1), zoom };
    return true;
  }

  // A finger moved: the zoom the pinch asks for now, or null when no pinch is going on.
  move(e: PointerEvent): number | null {
    if (!this.touches.has(e.pointerId)) return null;
    this.touches.set(e.pointerId, { x: e.clientX, y: e.clientY });
    if (!this.from || this.touches.size < 2) return null;
    return Math.round((this.from.zoom * this.distance()) / this.from.distance);
  }

  up(e: PointerEvent): void {
    this.touches.delete(e.pointerId);
    if (this.touches.size === 0) this.from = null;
  }

  private distance(): number {
    const [a, b] = [...this.touches.values()];
    return a && b ? Math.hypot(a.x - b.x, a.y - b.y) : 0;
  }
}
