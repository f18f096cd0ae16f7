// The ladder surface: a canvas in ladder units that keeps what was drawn on it, so that it
// can draw it again at any size.

import type { Segment } from "./engine";

/** One x unit is 735 twips, one y unit 67.95 twips: 49 and 4.53 CSS pixels. */
const UNIT_X = 735 / 15;
const UNIT_Y = 67.95 / 15;

export const LADDER_BLACK = "#000000";
export const PATH_RED = "#ff0000";

interface Stroke {
    line: Segment;
    colour: string;
}

export class Surface {
    readonly canvas: HTMLCanvasElement;
    private strokes: Stroke[] = [];
    private pixelsPerCss = 1;
    private lineWidth = 1;

    /** A canvas of `width` × `height` CSS pixels inside `parent`. */
    constructor(parent: HTMLElement, private readonly width: number, private readonly height: number) {
        this.canvas = document.createElement("canvas");
        this.canvas.style.width = `${width}px`;
        this.canvas.style.height = `${height}px`;
        parent.appendChild(this.canvas);
        this.resize(1);
    }

    /** Backs the canvas with enough device pixels for `scale` and redraws it. */
    resize(scale: number, lineWidth = 1): void {
        this.pixelsPerCss = scale * (window.devicePixelRatio || 1);
        this.lineWidth = lineWidth;
        this.canvas.width = Math.round(this.width * this.pixelsPerCss);
        this.canvas.height = Math.round(this.height * this.pixelsPerCss);
        this.redraw();
    }

    clear(): void {
        this.strokes = [];
        this.redraw();
    }

    draw(line: Segment, colour: string): void {
        this.strokes.push({ line, colour });
        this.stroke(this.canvas.getContext("2d")!, line, colour);
    }

    /** How many strokes are on the surface. */
    get strokeCount(): number {
        return this.strokes.length;
    }

    private redraw(): void {
        const context = this.canvas.getContext("2d")!;
        context.clearRect(0, 0, this.canvas.width, this.canvas.height);
        for (const { line, colour } of this.strokes) {
            this.stroke(context, line, colour);
        }
    }

    private stroke(context: CanvasRenderingContext2D, line: Segment, colour: string): void {
        const width = Math.max(1, Math.round(this.lineWidth * this.pixelsPerCss));
        // A line of odd width lies on pixel centres, so that it stays sharp.
        const offset = width % 2 === 1 ? 0.5 : 0;
        const x = (units: number) => Math.floor(units * UNIT_X * this.pixelsPerCss) + offset;
        const y = (units: number) => Math.floor(units * UNIT_Y * this.pixelsPerCss) + offset;
        context.strokeStyle = colour;
        context.lineWidth = width;
        context.lineCap = "square";
        context.beginPath();
        context.moveTo(x(line.x1), y(line.y1));
        context.lineTo(x(line.x2), y(line.y2));
        context.stroke();
    }
}
