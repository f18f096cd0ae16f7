// The C++ engine compiled to WebAssembly, as the page calls it.

import type { PageConstants } from "./constants";

export interface Segment {
    x1: number;
    y1: number;
    x2: number;
    y2: number;
}

/** What the window shows next; the kinds follow WindowEvent::Kind in the engine. */
export const enum EventKind {
    Cleared = 0,
    RungNumber = 1,
    LadderLine = 2,
    PathLine = 3,
    Counted = 4,
    Finished = 5,
}

export interface WindowEvent {
    kind: EventKind;
    line: Segment;
    number: number;
    column: number;
}

export interface Controls {
    start: boolean;
    quit: boolean;
    initialise: boolean;
    stop: boolean;
    help: boolean;
}

/** The experiment window's model: buttons, timers and the experiment. */
export interface PageWindow {
    load(): void;
    activate(): void;
    rungCountChosen(rungs: number): void;
    start(now: number): WindowEvent[];
    stop(): void;
    initialise(): WindowEvent[];
    advance(now: number): WindowEvent[];
    /** The landing advance() stopped at is stored: it shows and the trials go on. */
    landingKept(now: number): void;
    /** The landing could not be stored: the trials stop; start() offers it again. */
    landingRefused(): void;
    nextDue(): number;
    rungCount(): number;
    count(column: number): number;
    controls(): Controls;
    delete(): void;
}

/** What a lesson did; the kinds follow LessonEvent::Kind in the engine. */
export const enum LessonKind {
    TrialStarted = 0,
    RungPlaced = 1,
    PathMoved = 2,
    Landed = 3,
    Ended = 4,
}

export interface LessonEvent {
    kind: LessonKind;
    trial: number;
    rungNo: number;
    column: number;
    count: number;
    /** Landed, Ended: the line the trial started from. */
    start: number;
}

/** The experiment paced by the teacher: pause, step, speed, start line, 0..225 rungs. */
export interface PageLesson {
    setRungCount(rungs: number): void;
    setStartLine(line: number): void;
    /** How each trial's start line is found, from the next trial on. */
    setStartLineChoice(choice: StartLineChoice): void;
    startLineChoice(): StartLineChoice;
    setSpeed(speed: number): void;
    start(now: number): LessonEvent[];
    stop(): void;
    pause(now: number): void;
    resume(now: number): void;
    step(now: number): LessonEvent[];
    initialise(): void;
    /** Sets the hands raised for `column` while the prediction is open; false once it is locked. */
    setHands(column: number, hands: number): boolean;
    /** The class's prediction: the hands raised for columns 1..10. */
    hands(): number[];
    /** Whether the prediction may still change: no trial of this experiment has started. */
    predictionOpen(): boolean;
    advance(now: number): LessonEvent[];
    /** A question or the help is open: every move waits. */
    holdForQuestion(now: number): void;
    /** It is answered: trials that ran before it go on, unless they were cleared meanwhile. */
    questionAnswered(now: number): void;
    rungCount(): number;
    startLine(): number;
    speed(): number;
    count(column: number): number;
    trial(): number;
    isRunning(): boolean;
    isPaused(): boolean;
    isFinished(): boolean;
    endColumn(): number;
    /** The start line the picture marks: the trial's on view, else the one the first takes when known. */
    markedStartLine(): number;
    /** When the next move is due, or -1. */
    nextDue(): number;
    rungs(): Segment[];
    path(): Segment[];
    /** The path's moving end and the way back along its last step, null before the path starts. */
    pathEnd(): PathEnd | null;
}

/** How each trial finds its start line; the numbers follow StartLineChoice in the engine. */
export const enum StartLineChoice {
    Same = 0,
    InTurn = 1,
    AtRandom = 2,
}

/** The keys that pace a lesson; the numbers follow LessonKey in the engine. */
export const enum LessonKey {
    Enter = 0,
    Space = 1,
    Right = 2,
}

/** What holds the focus, by what it does with keys; the numbers follow FocusKind in the engine. */
export const enum FocusKind {
    None = 0,
    Button = 1,
    SpinBox = 2,
    TextField = 3,
    Slider = 4,
    Choice = 5,
}

export interface LessonLimits {
    mostRungs: number;
    slowest: number;
    fastest: number;
}

/** A comparison in words: one or two sentences, and the figures behind them. */
export interface ComparisonText {
    japanese: string;
    figures: string;
    /** The class's prediction beside the counts and the law; "" without one. */
    prediction: string;
}

/** The theory of one rung count and start line, with counts to set beside it. */
export interface PageTheory {
    setRungs(rungs: number): void;
    setStart(start: number): void;
    /** The lesson speed the durations assume. */
    setSpeed(speed: number): void;
    rungs(): number;
    start(): number;
    law(): number[];
    lawChartSvg(): string;
    fairnessChartSvg(): string;
    fairnessSentence(): string;
    durationSentence(): string;
    tableCsv(): Uint8Array<ArrayBuffer>;
    /** Sets counts beside the law, with the class's prediction (the hands for columns 1..10, or none). */
    setComparison(name: string, whose: string, counts: number[], rungs: number, start: number, hands: number[]): void;
    /** The comparison of the shown counts, or null when none are shown. */
    comparison(): ComparisonText | null;
    /** Every start line's law at the chosen rung count, with the class's landings. */
    allLinesChartSvg(): string;
    allLinesSentences(): string[];
    setClassLadders(ladders: { rungs: number; start: number; counts: number[]; order?: Uint8Array }[]): void;
    /** Each column's share of the class's landings in turn against the exact chance. */
    settlingChartSvg(): string;
    settlingSentence(): string;
    setSettlingColumn(column: number): void;
    /** The worksheet of the shown counts, or the blank one, as one A4 page. */
    worksheetSvg(): string;
    delete(): void;
}

/** The experiments of one rung count and start line, pooled over the files read. */
export interface PooledLadder {
    rungs: number;
    start: number;
    counts: number[];
    experiments: number;
    /** The columns landed in, in the records' order. */
    order?: Uint8Array;
    perFile: { name: string; counts: number[]; experiments: number }[];
    /** The class's predictions of its experiments, the hands for columns 1..10 pooled. */
    prediction: number[];
}

/** Record files read one by one, piece by piece, pooled by ladder. */
export interface PageRecords {
    begin(name: string): void;
    /** Reads the next piece of the file's bytes; false once the file is refused. */
    read(bytes: Uint8Array): boolean;
    /** The file has ended: why it is refused, or null once it is kept. */
    finish(): { line: number; japanese: string } | null;
    /** The kept files pooled by ladder, each experiment once, and what the teacher is told of
     * them (lines cut short, experiments seen twice). */
    pooled(): { ladders: PooledLadder[]; notes: string[] };
    clear(): void;
    delete(): void;
}

/** Why a record is refused: its line (0 for the whole) and the reason. */
export interface RecordRefusal {
    line: number;
    japanese: string;
}

/** The page's record kept by the desktop's rules: the stored lines read as the desktop reads a
 * file, each landing numbered and formatted as the desktop numbers and formats it. */
export interface PageRecordKeeper {
    /** The record's whole text as the store now holds it; why it is refused, or null. */
    take(text: string): RecordRefusal | null;
    /** The landings that follow belong to a new experiment. */
    startExperiment(): void;
    /** The class's prediction for it (the hands for columns 1..10), written ahead of its first landing. */
    predict(hands: number[]): void;
    /** What to append to the record taken last to keep a landing at `time`, or the refusal. */
    append(rungs: number, start: number, column: number, count: number, ends: boolean, time: string, moved: boolean):
        { text: string } | RecordRefusal;
    /** The text append() answered is stored now. */
    appended(): void;
    /** Remembers which experiment the landings continue, for restore(). */
    save(): void;
    /** Back to what save() remembered: what was appended since was not stored. */
    restore(): void;
}

export interface WindowTexts {
    mainTitle: string;
    heading: string;
    start: string;
    quit: string;
    initialise: string;
    stop: string;
    help: string;
    prompt: string;
    promptTitle: string;
    promptDefault: string;
    quitQuestion: string;
    quitTitle: string;
    cancelTitle: string;
    helpTitle: string;
    close: string;
    helpLines: string[];
    lessonHelpTitle: string;
    /** 授業モード's own help, its controls and keys. */
    lessonHelpLines: string[];
    /** The names of the ways to find each trial's start line, in StartLineChoice's order. */
    startLineChoices: string[];
}

/** Where the path's moving end stands, in ladder units, and the way back along its last step. */
export interface PathEnd {
    x: number;
    y: number;
    backX: number;
    backY: number;
}

/** The path's stroke and the disc at its moving end, in CSS pixels. */
export interface PathLook {
    pathWidth: number;
    endDiameter: number;
    /** The white ring round the disc, inside a black one half as wide. */
    endOutline: number;
    /** The most rungs the ladder shows apart at this size. */
    legibleRungs: number;
}

export interface Engine {
    PageWindow: new (seed: number, mixClock: boolean) => PageWindow;
    PageLesson: new (seed: number) => PageLesson;
    lessonLimits(): LessonLimits;
    /** How the lesson draws its path on a ladder of `unitPx` pixels a unit, `lineWidth` wide lines, `rungs` rungs. */
    lessonPathLook(unitPx: number, lineWidth: number, rungs: number): PathLook;
    /** The note that `rungs` rungs crowd the ladder, "" when they can be told apart. */
    crowdedRungsNote(rungs: number, legibleRungs: number): string;
    /** The cue file a lesson event of `kind` sounds with the sound on or off and in quiet mode or not, "" for none. */
    lessonCue(sound: boolean, quiet: boolean, kind: LessonKind): string;
    /** The speed the lesson runs at with `chosen` set: the slowest while quiet. */
    lessonRoomSpeed(quiet: boolean, chosen: number): number;
    /** Whether `key` goes to the lesson, given what holds the focus and whether a view lies in front. */
    lessonTakesKey(key: LessonKey, focus: FocusKind, covered: boolean): boolean;
    pageConstants(): PageConstants;
    PageTheory: new () => PageTheory;
    PageRecords: new () => PageRecords;
    PageRecordKeeper: new () => PageRecordKeeper;
    trialsPerBlock(): number;
    exactLaw(rungs: number, start: number): number[];
    rungCountOf(answer: string): number;
    recordHeader(): string;
    windowTexts(): WindowTexts;
    /**
     * The worksheet of a lesson whose tally shows `shown`, which ended in `endColumn` (0 while it
     * runs) and whose class raised `hands` for columns 1..10, as an SVG page; or why a lesson
     * whose start line changes has none.
     */
    lessonWorksheet(rungs: number, start: number, startChanges: boolean, shown: number[], endColumn: number,
        hands: number[]): { svg?: string; refusal?: string };
}

declare function createEngine(): Promise<Engine>;

/** The engine, once its WebAssembly is compiled. */
export function loadEngine(): Promise<Engine> {
    return createEngine();
}
