// The lesson's picture, drawn whole at whatever size the canvas has: the ladder with its path,
// the column numbers with the start line marked, and the stacks with their counts. Before the
// first trial, and at the end when the class predicted, the class's prediction stands in the
// ladder's place: a bar of the hands raised over each column.

import { constants } from "./constants";
import type { Engine, PathEnd, PathLook, Segment } from "./engine";

export interface LessonPicture {
    /** The rung count of the ladder on view. */
    rungCount: number;
    rungs: Segment[];
    path: Segment[];
    /** The path's moving end and the way back along its last step, null before it starts. */
    pathEnd: PathEnd | null;
    counts: number[];
    startLine: number;
    /** The column whose full stack ended the experiment, 0 while it runs. */
    endColumn: number;
    /** The colours of the path and of the start marks and markers. */
    colours: { path: string; marker: string };
    /** The hands raised for each column, and whether they may still change. */
    prediction: { hands: number[]; open: boolean };
}

/** The prediction is grey, so that it is never mistaken for the markers, whichever colour they are. */
const GREY = "#606060";
const GOTHIC = '"ＭＳ Ｐゴシック", IPAPGothic, "Hiragino Sans", "Yu Gothic", Meiryo, "Noto Sans CJK JP", sans-serif';

/** Where things stand on a canvas of `width` × `height` CSS pixels. */
export function lessonGeometry(width: number, height: number) {
    const { lineCount, columnCapacity, emptyLadder } = constants();
    // The ladder's own units: its first and last lines, its top and its bottom.
    const first = emptyLadder[0];
    const last = emptyLadder[lineCount - 1];
    const margin = width * 0.06;
    const spacing = (width - 2 * margin) / (lineCount - 1);
    const top = height * 0.07;
    const bottom = height * 0.42;
    const stackBottom = height * 0.985;
    const stackTop = height * 0.56;
    const pitch = (stackBottom - stackTop) / columnCapacity;
    return {
        lineX: (line: number) => margin + (line - 1) * spacing,
        /** x and y of a point in ladder units. */
        x: (units: number) => margin + ((units - first.x1) / (last.x1 - first.x1)) * (lineCount - 1) * spacing,
        y: (units: number) => top + ((units - first.y1) / (first.y2 - first.y1)) * (bottom - top),
        /** Pixels to one ladder unit, down the ladder. */
        unitPx: (bottom - top) / (first.y2 - first.y1),
        lineWidth: Math.max(3, Math.round(Math.min(width, height * 1.4) / 300)),
        numberSize: Math.max(24, Math.round(height * 0.05)),
        numberY: height * 0.47,
        markerWidth: Math.min(spacing * 0.62, 64),
        markerHeight: Math.max(4, pitch - Math.max(2, pitch * 0.12)),
        markerTop: (index: number) => stackBottom - pitch * index,
        startMarkY: top * 0.45,
        /** The prediction's caption and bars; the − and ＋ stand below the bars while it is open. */
        captionY: height * 0.1,
        barsTop: height * 0.14,
        barsBottom: height * 0.335,
    };
}

/** The engine's rules for the path's look. */
export type PathRules = Pick<Engine, "lessonPathLook">;

/** Draws `picture` and gives the path's look at this size. */
export function drawLesson(canvas: HTMLCanvasElement, picture: LessonPicture, rules: PathRules): PathLook {
    const width = canvas.clientWidth;
    const height = canvas.clientHeight;
    const ratio = window.devicePixelRatio || 1;
    if (canvas.width !== Math.round(width * ratio) || canvas.height !== Math.round(height * ratio)) {
        canvas.width = Math.round(width * ratio);
        canvas.height = Math.round(height * ratio);
    }
    const c = canvas.getContext("2d")!;
    c.setTransform(ratio, 0, 0, ratio, 0, 0);
    c.fillStyle = constants().lessonBackground;
    c.fillRect(0, 0, width, height);
    const g = lessonGeometry(width, height);
    const stroke = (segment: Segment, colour: string, lineWidth: number) => {
        c.strokeStyle = colour;
        c.lineWidth = lineWidth;
        c.lineCap = "round";
        c.beginPath();
        c.moveTo(g.x(segment.x1), g.y(segment.y1));
        c.lineTo(g.x(segment.x2), g.y(segment.y2));
        c.stroke();
    };
    const { lineCount, columnCapacity, emptyLadder } = constants();
    const look = rules.lessonPathLook(g.unitPx, g.lineWidth, picture.rungCount);
    const { hands, open } = picture.prediction;
    const predicted = hands.some((raised) => raised > 0);
    if (open || (picture.endColumn > 0 && predicted)) {
        drawPrediction(c, g, hands, open, width);
    } else {
        emptyLadder.forEach((line) => stroke(line, "#000", g.lineWidth));
        picture.rungs.forEach((rung) => stroke(rung, "#000", g.lineWidth));
        picture.path.forEach((segment) => stroke(segment, picture.colours.path, look.pathWidth));
        const end = picture.pathEnd;
        if (end) {
            // The disc trails the moving end, so what lies ahead stays in view.
            const radius = look.endDiameter / 2;
            const outer = radius + look.endOutline * 1.5;
            const disc = (colour: string, r: number) => {
                c.fillStyle = colour;
                c.beginPath();
                c.arc(g.x(end.x) + end.backX * outer, g.y(end.y) + end.backY * outer, r, 0, 2 * Math.PI);
                c.fill();
            };
            disc("#000", outer);
            disc("#fff", radius + look.endOutline);
            disc(picture.colours.path, radius);
        }
    }

    // The start line: a mark above it and its number on a disc, both in the marker colour.
    const marker = picture.colours.marker;
    const startX = g.lineX(picture.startLine);
    c.fillStyle = marker;
    c.beginPath();
    c.moveTo(startX - g.lineWidth * 4, g.startMarkY - g.lineWidth * 3);
    c.lineTo(startX + g.lineWidth * 4, g.startMarkY - g.lineWidth * 3);
    c.lineTo(startX, g.startMarkY + g.lineWidth * 3);
    c.fill();

    c.textAlign = "center";
    c.textBaseline = "middle";
    for (let column = 1; column <= lineCount; ++column) {
        const x = g.lineX(column);
        const isStart = column === picture.startLine;
        c.font = `bold ${g.numberSize}px ${GOTHIC}`;
        if (isStart) {
            c.fillStyle = marker;
            c.beginPath();
            c.arc(x, g.numberY, g.numberSize * 0.72, 0, 2 * Math.PI);
            c.fill();
        }
        c.fillStyle = isStart ? "#fff" : "#000";
        c.fillText(String(column), x, g.numberY);
        const count = picture.counts[column - 1];
        // The count stands just above its stack.
        c.font = `${g.numberSize}px ${GOTHIC}`;
        c.fillStyle = column === picture.endColumn ? marker : "#333";
        c.fillText(String(count), x, g.markerTop(count) - g.numberSize * 0.6);
        c.fillStyle = marker;
        for (let index = 1; index <= count; ++index) {
            c.fillRect(x - g.markerWidth / 2, g.markerTop(index), g.markerWidth, g.markerHeight);
        }
        if (column === picture.endColumn) {
            c.strokeStyle = marker;
            c.lineWidth = g.lineWidth;
            c.strokeRect(x - g.markerWidth / 2 - 4, g.markerTop(columnCapacity) - 4, g.markerWidth + 8,
                g.markerTop(0) - g.markerTop(columnCapacity) + 4);
        }
    }
    return look;
}

/** The class's prediction in the ladder's place: what it asks, and a bar of hands per column. */
function drawPrediction(
    c: CanvasRenderingContext2D,
    g: ReturnType<typeof lessonGeometry>,
    hands: number[],
    open: boolean,
    width: number,
): void {
    const total = hands.reduce((sum, raised) => sum + raised, 0);
    const caption = open
        ? `予想：いちばん多く着くのはどの列？　手をあげた人の数を − と ＋ で（いま ${total} 人）`
        : `灰色の棒：実験の前のクラスの予想（${total} 人）`;
    c.textAlign = "center";
    c.textBaseline = "middle";
    c.fillStyle = open ? "#000" : GREY;
    c.font = `bold ${Math.round(g.numberSize * 0.7)}px ${GOTHIC}`;
    c.fillText(caption, width / 2, g.captionY, width * 0.96);
    const bottom = open ? g.barsBottom : g.numberY - g.numberSize;
    const most = Math.max(1, ...hands);
    const numberSize = Math.round(g.numberSize * 0.8);
    c.font = `bold ${numberSize}px ${GOTHIC}`;
    hands.forEach((raised, k) => {
        const x = g.lineX(k + 1);
        const tall = ((bottom - g.barsTop - numberSize) * raised) / most;
        c.fillStyle = GREY;
        c.fillRect(x - g.markerWidth / 2, bottom - tall, g.markerWidth, tall);
        c.fillText(String(raised), x, bottom - tall - numberSize * 0.6);
    });
    c.fillStyle = "#888";
    c.fillRect(0, bottom, width, 1);
}
