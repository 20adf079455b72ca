// The undo history of the page: a list of past values, the present one and the values undone.
// Plain data, no DOM, so it can be exercised on its own.

// How many steps the page's undo keeps: the one limit of the page (README: 500 steps).
export const DEFAULT_HISTORY_LIMIT = 500;

export class History<T> {
  private past: T[] = [];
  private future: T[] = [];
  private present: T;
  readonly limit: number;

  constructor(initial: T, limit = DEFAULT_HISTORY_LIMIT) {
    if (limit < 1) throw new RangeError("a history keeps at least one step");
    this.present = initial;
    this.limit = limit;
  }

  get current(): T {
    return this.present;
  }

  get canUndo(): boolean {
    return this.past.length > 0;
  }

  get canRedo(): boolean {
    return this.future.length > 0;
  }

  get undoSteps(): number {
    return this.past.length;
  }

  // A new step: the present value goes into the past and whatever was undone is gone. The oldest
  // steps fall off once the limit is reached.
  push(next: T): void {
    this.past.push(this.present);
    if (this.past.length > this.limit) this.past.splice(0, this.past.length - this.limit);
    this.present = next;
    this.future = [];
  }

  // Changes the present value without making a step: a drag stroke going on, or the present
  // level given the name it was saved under. What was undone stays to be redone.
  amend(next: T): void {
    this.present = next;
  }

  // Takes the present step back without keeping it to be redone.
  drop(): void {
    const previous = this.past.pop();
    if (previous !== undefined) this.present = previous;
  }

  undo(): T | undefined {
    const previous = this.past.pop();
    if (previous === undefined) return undefined;
    this.future.push(this.present);
    this.present = previous;
    return previous;
  }

  redo(): T | undefined {
    const next = this.future.pop();
    if (next === undefined) return undefined;
    this.past.push(this.present);
    this.present = next;
    return next;
  }

  // Starts again from one value with nothing to undo (a restored session).
  reset(value: T): void {
    this.past = [];
    this.future = [];
    this.present = value;
  }
}
