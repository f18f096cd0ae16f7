// 授業モード: the experiment laid out for a projector and paced by the teacher. The lesson's
// rules are the engine's; this page only draws them and forwards the teacher's controls.

import { playChime } from "./chimes";
import { constants } from "./constants";
import { askYesNo, tell } from "./dialogs";
import { printSheet } from "./downloads";
import { FocusKind, LessonKey, LessonKind, StartLineChoice, type Engine, type LessonEvent, type PageLesson, type WindowTexts } from "./engine";
import { drawLesson } from "./lesson_canvas";
import type { RecordStore } from "./record_store";
import { remember, remembered } from "./room_settings";
import { announce, endSentence, hiddenHeading, landingSentence, tallyTable } from "./spoken";
import { child } from "./twips";

export interface LessonOptions {
    seed: number;
    rungs: number;
    start: number;
}

/** What `target`, the element a key goes to, does with the keys the lesson answers. */
function focusKind(target: EventTarget | null): FocusKind {
    if (target instanceof HTMLButtonElement) {
        return FocusKind.Button;
    }
    if (target instanceof HTMLSelectElement) {
        return FocusKind.Choice;
    }
    if (target instanceof HTMLInputElement) {
        const kinds: Record<string, FocusKind> = {
            number: FocusKind.SpinBox, range: FocusKind.Slider, button: FocusKind.Button, submit: FocusKind.Button,
            reset: FocusKind.Button, checkbox: FocusKind.Button, radio: FocusKind.Button, file: FocusKind.Button,
        };
        return kinds[target.type] ?? FocusKind.TextField;
    }
    if (target instanceof HTMLTextAreaElement || target instanceof HTMLElement && target.isContentEditable) {
        return FocusKind.TextField;
    }
    return FocusKind.None;
}

export class LessonPage {
    readonly root: HTMLElement;
    private readonly lesson: PageLesson;
    private readonly canvas: HTMLCanvasElement;
    private readonly buttons: Record<string, HTMLButtonElement> = {};
    private readonly rungsField: HTMLInputElement;
    private readonly startField: HTMLSelectElement;
    private readonly startChoiceField: HTMLSelectElement;
    private readonly speedField: HTMLInputElement;
    private readonly coloursField: HTMLSelectElement;
    private readonly soundField: HTMLInputElement;
    /** The teacher's controls, folded away in quiet mode. */
    private readonly bar: HTMLElement;
    /** Shown in quiet mode instead of the controls, to bring them back. */
    private readonly unfold: HTMLButtonElement;
    private quiet = false;
    private readonly trialLabel: HTMLElement;
    private readonly rungLabel: HTMLElement;
    private readonly banner: HTMLElement;
    /** Says when the rung count set crowds the ladder at the canvas's size. */
    private readonly crowdedNote: HTMLElement;
    /** The − and ＋ under each column's prediction bar, shown while the prediction is open. */
    private readonly handsRow: HTMLElement;
    /** The counts as a table for assistive tools, column 1 first. */
    private readonly tally: HTMLTableCellElement[];
    private trialRungs = 0;
    private rungNo = 0;
    private frameRequested = false;
    /** Landings of each column whose lines are not stored yet: their markers wait. */
    private readonly unstored: number[];
    /** Lines being written: the lesson waits for them. */
    private storing = 0;
    private readonly onKey = (event: KeyboardEvent) => this.key(event);
    private readonly onResize = () => this.draw();

    constructor(
        private readonly engine: Engine,
        private readonly texts: WindowTexts,
        private readonly record: RecordStore,
        options: LessonOptions,
        /** Says why the record could not be stored; "" once it is stored again. */
        private readonly storageRefused: (reason: string) => void,
    ) {
        const limits = engine.lessonLimits();
        this.unstored = Array(constants().lineCount).fill(0);
        this.lesson = new engine.PageLesson(options.seed);
        this.lesson.setRungCount(options.rungs);
        this.lesson.setStartLine(options.start);
        this.root = document.createElement("div");
        this.root.className = "lesson";
        const bar = child(this.root, "div", "lesson-controls");
        this.bar = bar;
        this.unfold = child(this.root, "button", "lesson-button lesson-unfold", "操作");
        this.unfold.setAttribute("aria-label", "操作パネルを出す");
        this.unfold.hidden = true;
        this.unfold.onclick = () => this.setQuiet(false);
        const action = (name: string, caption: string, key: string, run: () => void) => {
            const button = child(bar, "button", "lesson-button", caption);
            button.dataset.action = name;
            button.title = key;
            // A click leaves the keys with the lesson, as on the desktop; Tab still reaches it.
            button.onmousedown = (event) => event.preventDefault();
            button.onclick = () => {
                run();
                this.refresh();
            };
            this.buttons[name] = button;
        };
        action("start", "開始", "Enter", () => this.afterStored(() => this.apply(this.lesson.start(performance.now()))));
        action("pause", "一時停止", "Space", () => this.afterStored(() => this.togglePause()));
        action("step", "1段ずつ", "→", () => this.afterStored(() => this.apply(this.lesson.step(performance.now()))));
        action("stop", "停止", "", () => this.lesson.stop());
        action("initialise", "初期化", "", () => void this.initialise());
        const setting = (caption: string, field: HTMLElement, after = "") => {
            const label = child(bar, "label", "lesson-setting", caption);
            label.appendChild(field);
            if (after) {
                label.append(after);
            }
        };
        this.rungsField = document.createElement("input");
        Object.assign(this.rungsField, { type: "number", min: "0", max: String(limits.mostRungs), value: String(options.rungs) });
        // Enter enters the count and hands the keys back to the lesson.
        this.rungsField.addEventListener("keydown", (event) => event.key === "Enter" && this.rungsField.blur());
        this.rungsField.onchange = () => {
            const rungs = Math.round(Number(this.rungsField.value));
            this.lesson.setRungCount(Number.isFinite(rungs) ? rungs : this.lesson.rungCount());
            this.rungsField.value = String(this.lesson.rungCount());
            this.draw();
        };
        setting("横線", this.rungsField, "本");
        this.startField = document.createElement("select");
        for (let line = 1; line <= constants().lineCount; ++line) {
            this.startField.add(new Option(String(line), String(line), line === options.start, line === options.start));
        }
        this.startField.onchange = () => {
            this.lesson.setStartLine(Number(this.startField.value));
            this.draw();
        };
        setting("スタート", this.startField, "本目");
        this.startChoiceField = child(bar, "select", "lesson-choice");
        this.startChoiceField.setAttribute("aria-label", "スタートの線の決め方");
        texts.startLineChoices.forEach((name, choice) => this.startChoiceField.add(new Option(name, String(choice))));
        this.startChoiceField.onchange = () => void this.chooseStartLineChoice(Number(this.startChoiceField.value));
        this.speedField = document.createElement("input");
        Object.assign(this.speedField, { type: "range", min: String(limits.slowest), max: String(limits.fastest) });
        // Where the user asked for less motion, the lesson starts at its calmest pace.
        if (window.matchMedia?.("(prefers-reduced-motion: reduce)").matches) {
            this.lesson.setSpeed(limits.slowest);
        }
        this.speedField.value = String(this.lesson.speed());
        this.speedField.setAttribute("aria-label", "速さ（ゆっくり〜はやい）");
        this.speedField.oninput = () => {
            this.lesson.setSpeed(this.engine.lessonRoomSpeed(this.quiet, Number(this.speedField.value)));
            this.requestFrame();
        };
        setting("ゆっくり", this.speedField, "はやい");
        this.coloursField = document.createElement("select");
        const colours = remembered("colours", 0);
        constants().pathColours.forEach((choice, k) => this.coloursField.add(new Option(choice.name, String(k), k === colours, k === colours)));
        this.coloursField.onchange = () => {
            remember("colours", Number(this.coloursField.value));
            this.draw();
        };
        setting("線と印の色", this.coloursField);
        this.soundField = document.createElement("input");
        this.soundField.type = "checkbox";
        this.soundField.checked = remembered("sound", 0) === 1;
        this.soundField.onchange = () => remember("sound", this.soundField.checked ? 1 : 0);
        setting("着地の音", this.soundField);
        action("quiet", "プロジェクター用（静か）", "", () => this.setQuiet(true));
        action("worksheet", "ワークシート印刷", "", () => void this.printWorksheet());
        action("help", "HELP", "", () => void this.showHelp());
        const status = child(this.root, "div", "lesson-status");
        this.trialLabel = child(status, "span", "lesson-trial");
        this.rungLabel = child(status, "span", "lesson-rung");
        this.banner = child(status, "span", "lesson-banner");
        this.crowdedNote = child(status, "span", "lesson-note");
        const picture = child(this.root, "div", "lesson-picture");
        this.canvas = child(picture, "canvas", "lesson-canvas");
        this.canvas.setAttribute("role", "img");
        this.canvas.setAttribute("aria-label", "たなばしごと着地の数");
        this.handsRow = child(picture, "div", "lesson-hands");
        for (let column = 1; column <= constants().lineCount; ++column) {
            const cell = child(this.handsRow, "div", "lesson-hands-cell");
            cell.style.setProperty("--column", String(column - 1));
            cell.dataset.column = String(column);
            for (const change of [-1, 1]) {
                const button = child(cell, "button", "lesson-button lesson-hand", change < 0 ? "−" : "＋");
                button.dataset.column = String(column);
                button.setAttribute("aria-label", `${column} の列の予想を 1 人${change < 0 ? "へらす" : "ふやす"}`);
                // Like the lesson's other buttons, a tap leaves the keys with the lesson.
                button.onmousedown = (event) => event.preventDefault();
                button.onclick = () => {
                    this.lesson.setHands(column, this.lesson.hands()[column - 1] + change);
                    this.refresh();
                };
            }
        }
        this.tally = tallyTable(this.root);
        hiddenHeading(this.root, 1, "授業モード");
        document.addEventListener("keydown", this.onKey);
        window.addEventListener("resize", this.onResize);
        this.record.startExperiment();
    }

    /** Shown: draws the picture at the size it now has; the keys go to the lesson. */
    shown(): void {
        this.refresh();
        // The lesson itself holds the focus, so Tab goes on to its first control.
        this.root.tabIndex = -1;
        this.root.focus({ preventScroll: true });
    }

    /**
     * True when no marker stands, else the teacher's answer to `question`; the trials wait
     * while it is open and go on after a no.
     */
    async ask(question: string, title: string): Promise<boolean> {
        if (!this.holdsMarkers()) {
            return true;
        }
        this.holdForQuestion();
        const yes = await askYesNo(question, title);
        if (!yes) {
            this.questionAnswered();
        }
        return yes;
    }

    /** Leaves the lesson: nothing runs on. */
    close(): void {
        this.lesson.stop();
        document.removeEventListener("keydown", this.onKey);
        window.removeEventListener("resize", this.onResize);
    }

    rungCount(): number {
        return this.lesson.rungCount();
    }

    startLine(): number {
        return this.lesson.startLine();
    }

    speed(): number {
        return this.lesson.speed();
    }

    /** Whether markers stand, so that clearing them must be asked. */
    holdsMarkers(): boolean {
        return this.counts().some((count) => count > 0);
    }

    /** The markers shown in each column, 1 first: its landings stored so far. */
    private counts(): number[] {
        return Array.from({ length: constants().lineCount }, (_, k) => this.lesson.count(k + 1) - this.unstored[k]);
    }

    private key(event: KeyboardEvent): void {
        const actions: Record<string, [LessonKey, string]> = {
            Enter: [LessonKey.Enter, "start"], " ": [LessonKey.Space, "pause"], ArrowRight: [LessonKey.Right, "step"],
        };
        const action = actions[event.key];
        if (!action || event.ctrlKey || event.altKey || event.metaKey || event.shiftKey) {
            return;
        }
        // In front: a question or the help (open dialogs), or 理論と実験 (the lesson inert below).
        const covered = !!document.querySelector("dialog[open]") || !!this.root.closest("[inert]");
        const [key, name] = action;
        if (this.engine.lessonTakesKey(key, focusKind(event.target), covered) && !this.buttons[name].disabled) {
            event.preventDefault();
            this.buttons[name].click();
        }
    }

    /** Quiet mode on or off: the slowest speed, no chimes and the controls folded away. */
    private setQuiet(on: boolean): void {
        this.quiet = on;
        this.bar.hidden = on;
        this.unfold.hidden = !on;
        this.lesson.setSpeed(this.engine.lessonRoomSpeed(on, Number(this.speedField.value)));
        this.root.focus({ preventScroll: true });
        this.refresh();
    }

    private togglePause(): void {
        if (this.lesson.isPaused()) {
            this.lesson.resume(performance.now());
        } else {
            this.lesson.pause(performance.now());
        }
    }

    private async initialise(): Promise<void> {
        const predicted = this.lesson.hands().some((hands) => hands > 0);
        const what = predicted ? "着地した印とクラスの予想" : "着地した印";
        if (await this.ask(`${what}をすべて消して、始めからやり直しますか？`, "初期化")) {
            this.clear();
        }
    }

    /** Each trial's start line is found by `choice` once the teacher agrees to clear the marks. */
    private async chooseStartLineChoice(choice: StartLineChoice): Promise<void> {
        if (await this.ask("スタートの線の決め方を変えると、いまの印は消えます。変えますか？", "スタートの線")) {
            this.lesson.setStartLineChoice(choice);
            this.clear();
        }
        this.refresh();
    }

    /** A new experiment: no marks, and a new one in the record. */
    private clear(): void {
        this.lesson.initialise();
        this.unstored.fill(0);
        this.record.startExperiment();
        this.rungNo = 0;
        this.refresh();
    }

    private holdForQuestion(): void {
        this.lesson.holdForQuestion(performance.now());
        this.refresh();
    }

    private questionAnswered(): void {
        this.lesson.questionAnswered(performance.now());
        this.refresh();
    }

    private async showHelp(): Promise<void> {
        this.holdForQuestion();
        const dialog = child(document.body, "dialog", "box lesson-help");
        child(dialog, "div", "box-title", this.texts.lessonHelpTitle);
        const text = child(dialog, "div", "help-text");
        this.texts.lessonHelpLines.forEach((line) => child(text, "div", "help-line", line));
        const buttons = child(dialog, "div", "box-buttons");
        const close = child(buttons, "button", "box-button", this.texts.close);
        await new Promise<void>((resolve) => {
            close.onclick = () => resolve();
            dialog.oncancel = (event) => {
                event.preventDefault();
                resolve();
            };
            dialog.showModal();
            close.focus();
        });
        dialog.close();
        dialog.remove();
        this.questionAnswered();
    }

    /**
     * Prints the worksheet of the landings stored so far, or says why a lesson whose start line
     * changes has none; the trials wait meanwhile.
     */
    private async printWorksheet(): Promise<void> {
        const lesson = this.lesson;
        const sheet = this.engine.lessonWorksheet(lesson.rungCount(), lesson.startLine(),
            lesson.startLineChoice() !== StartLineChoice.Same, this.counts(), lesson.isFinished() ? lesson.endColumn() : 0,
            lesson.hands());
        this.holdForQuestion();
        await (sheet.svg !== undefined ? printSheet(sheet.svg) : tell(sheet.refusal ?? "", "ワークシート"));
        this.questionAnswered();
    }

    /** Runs `run` once every landing so far is stored; says why when one cannot be. */
    private afterStored(run: () => void): void {
        if (!this.record.hasWaiting()) {
            run();
            return;
        }
        void this.record.writeWaiting().then((refusal) => {
            if (refusal) {
                this.refused(refusal);
                return;
            }
            this.unstored.fill(0);
            this.storageRefused("");
            run();
            this.refresh();
        });
    }

    /** A landing the storage refused: the lesson pauses before its marker shows. */
    /** Counts the landings being written; the lesson is busy, for assistive technology too,
     * until each is stored and its marker shows. */
    private storingChanged(by: number): void {
        this.storing += by;
        if (this.storing > 0) {
            this.root.setAttribute("aria-busy", "true");
        } else {
            this.root.removeAttribute("aria-busy");
        }
    }

    private refused(reason: string): void {
        if (this.lesson.isRunning() && !this.lesson.isPaused()) {
            this.lesson.pause(performance.now());
        }
        this.storageRefused(`${reason}着地の印を出す前に一時停止しました。「開始」か「再開」を押すと、その着地から書き込みます。`);
        this.refresh();
    }

    private requestFrame(): void {
        if (!this.frameRequested && this.storing === 0 && !this.record.hasWaiting() && this.lesson.nextDue() >= 0) {
            this.frameRequested = true;
            requestAnimationFrame(() => {
                this.frameRequested = false;
                if (this.root.isConnected) {
                    this.apply(this.lesson.advance(performance.now()));
                    this.refresh();
                }
            });
        }
    }

    private apply(events: LessonEvent[]): void {
        for (const event of events) {
            switch (event.kind) {
                case LessonKind.TrialStarted:
                    if (event.trial === 1) {
                        this.record.predict(this.lesson.hands());
                    }
                    this.trialRungs = this.lesson.rungCount();
                    this.rungNo = 0;
                    break;
                case LessonKind.RungPlaced:
                    this.rungNo = event.rungNo;
                    break;
                case LessonKind.Landed:
                case LessonKind.Ended: {
                    const ends = event.kind === LessonKind.Ended;
                    const landing = {
                        rungs: this.trialRungs,
                        start: event.start,
                        column: event.column,
                        count: ends ? this.lesson.count(event.column) : event.count,
                        ends,
                    };
                    this.storingChanged(+1);
                    this.unstored[event.column - 1] += ends ? 0 : 1;
                    void this.record.keep(landing).then((refusal) => {
                        this.storingChanged(-1);
                        if (refusal) {
                            this.refused(refusal);
                            return;
                        }
                        this.unstored[event.column - 1] -= ends ? 0 : 1;
                        announce(ends ? endSentence(event.column) : landingSentence(event.column, event.count));
                        const cue = this.engine.lessonCue(this.soundField.checked, this.quiet, event.kind);
                        if (cue) {
                            playChime(cue);
                        }
                        this.refresh();
                    });
                    break;
                }
                default:
                    break;
            }
        }
    }

    private refresh(): void {
        const lesson = this.lesson;
        const running = lesson.isRunning() && !lesson.isFinished();
        this.buttons.start.disabled = running && !lesson.isPaused() || lesson.isFinished();
        this.buttons.pause.disabled = !running;
        this.buttons.pause.textContent = lesson.isPaused() ? "再開" : "一時停止";
        this.buttons.step.disabled = lesson.isFinished();
        this.buttons.stop.disabled = !running;
        // While the line changes from trial to trial, the field shows the line of the trial on view.
        const sameLine = lesson.startLineChoice() === StartLineChoice.Same;
        this.startField.disabled = !sameLine;
        this.startField.value = String(sameLine ? lesson.startLine() : lesson.markedStartLine());
        this.startChoiceField.value = String(lesson.startLineChoice());
        this.trialLabel.textContent = `${lesson.trial()}回目`;
        this.rungLabel.textContent = `横線 ${this.rungNo} 本目`;
        const end = lesson.endColumn();
        this.banner.textContent = end ? `${end} の列に ${constants().columnCapacity + 1} 回目が来たので終わり` : "";
        this.banner.hidden = end === 0;
        // Hidden once the first trial starts, so that Tab no longer reaches them.
        this.handsRow.hidden = !lesson.predictionOpen();
        this.draw();
        this.requestFrame();
    }

    private draw(): void {
        if (!this.root.isConnected) {
            return;
        }
        const lesson = this.lesson;
        const picture = {
            rungCount: lesson.trial() === 0 ? lesson.rungCount() : this.trialRungs,
            rungs: lesson.rungs(),
            path: lesson.path(),
            pathEnd: lesson.pathEnd(),
            counts: this.counts(),
            startLine: lesson.markedStartLine(),
            endColumn: lesson.endColumn(),
            colours: constants().pathColours[Number(this.coloursField.value)] ?? constants().pathColours[0],
            prediction: { hands: lesson.hands(), open: lesson.predictionOpen() },
        };
        const look = drawLesson(this.canvas, picture, this.engine);
        this.crowdedNote.textContent = this.engine.crowdedRungsNote(lesson.rungCount(), look.legibleRungs);
        this.crowdedNote.hidden = this.crowdedNote.textContent === "";
        // What the picture shows, in words, for assistive tools.
        this.canvas.dataset.counts = picture.counts.join(" ");
        picture.counts.forEach((count, k) => (this.tally[k].textContent = String(count)));
        this.canvas.dataset.rungs = String(picture.rungs.length);
        this.canvas.dataset.path = String(picture.path.length);
        this.canvas.dataset.hands = picture.prediction.hands.join(" ");
    }
}
