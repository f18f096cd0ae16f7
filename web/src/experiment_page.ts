// The experiment and help windows of the page: the window flow, the buttons and the frame
// loop that applies every tick of the engine that is due.

import { askYesNo, inputBox } from "./dialogs";
import { EventKind, type Engine, type PageWindow, type WindowEvent, type WindowTexts } from "./engine";
import { playChime } from "./chimes";
import { constants } from "./constants";
import { createHelpForm, growCloseArea, HELP_HEIGHT, HELP_WIDTH, widenForTheLongestLine } from "./help_form";
import { createMainForm, FORM_HEIGHT, FORM_WIDTH, growTouchAreas, type MainForm } from "./main_form";
import { announce, endSentence, landingSentence } from "./spoken";
import type { RecordStore } from "./record_store";
import { LADDER_BLACK, PATH_RED } from "./surface";

/** The start line of the experiment window's paths. */
const START_LINE = 3;

/** What the page around the windows offers them. */
export interface Stage {
    /** Shows `form` of `width` × `height` CSS pixels, scaled to fit; answers the scale. */
    show(form: HTMLElement, width: number, height: number, onScale: (scale: number) => void): void;
    /** Says on the page that the record could not be stored, and why. */
    storageRefused(reason: string): void;
    /** The record is stored again: what storageRefused said no longer holds. */
    storageRecovered(): void;
    /** An experiment has ended, its last line stored. */
    experimentEnded(): void;
    /** The user chose to quit. */
    end(): void;
}

export class ExperimentPage {
    private readonly texts: WindowTexts;
    private readonly model: PageWindow;
    private form: MainForm | null = null;
    private frameRequested = false;
    private rungs: string[] = [];
    /** Counts the windows and 初期化: a marker is shown only in the window of its landing. */
    private showing = 0;
    /** The marker of a landing the storage refused, to show once it is written. */
    private unshown: (() => void) | null = null;

    constructor(
        private readonly engine: Engine,
        model: PageWindow,
        private readonly record: RecordStore,
        private readonly stage: Stage,
    ) {
        this.texts = engine.windowTexts();
        this.model = model;
    }

    /** The rung count of the trials, 0 before the first answer. */
    rungCount(): number {
        return this.model.rungCount();
    }

    /** Loads and shows the experiment window, then asks for the rung count. */
    async openMainWindow(): Promise<void> {
        ++this.showing;
        this.unshown = null;
        this.model.load();
        this.record.startExperiment();
        const holder = document.createElement("div");
        const form = createMainForm(holder, this.texts);
        this.form = form;
        document.title = this.texts.mainTitle;
        this.stage.show(form.root, FORM_WIDTH, FORM_HEIGHT, (scale) => {
            form.surface.resize(scale);
            growTouchAreas(form, scale);
        });
        form.start.onclick = () => void this.start();
        form.stop.onclick = () => this.stop();
        form.quit.onclick = () => void this.quit();
        form.initialise.onclick = () => void this.initialise();
        form.help.onclick = () => this.help();
        this.model.activate();
        this.syncControls();
        this.drawEmptyLadder();
        if (await this.askRungCount()) {
            this.syncControls();
            form.start.focus();
        }
    }

    private async start(): Promise<void> {
        let events = this.model.start(performance.now());
        // A landing the storage refused comes back alone, to be written first: no trial runs
        // ahead of the record.
        const held = events.find((event) => event.kind === EventKind.Counted || event.kind === EventKind.Finished);
        if (held) {
            const form = this.form!;
            form.start.disabled = true;
            form.root.setAttribute("aria-busy", "true");
            const refusal = await this.record.writeWaiting();
            form.root.removeAttribute("aria-busy");
            if (refusal) {
                this.refused(refusal);
                return;
            }
            this.stage.storageRecovered();
            this.model.landingKept(performance.now());
            this.unshown?.();
            this.unshown = null;
            events = held.kind === EventKind.Finished ? [] : this.model.start(performance.now());
        }
        if (!this.form) {
            return;
        }
        this.apply(events);
        this.syncControls();
        this.requestFrame();
    }

    private stop(): void {
        this.model.stop();
        this.syncControls();
    }

    private async quit(): Promise<void> {
        playChime("endpinpon.wav");
        if (await askYesNo(this.texts.quitQuestion, this.texts.quitTitle)) {
            this.end();
        }
    }

    private async initialise(): Promise<void> {
        const form = this.form!;
        form.root.style.cursor = "wait";
        playChime("pinpon.wav");
        ++this.showing;
        this.unshown = null;
        for (const column of form.markers) {
            column.forEach((marker) => (marker.hidden = true));
        }
        form.tally.forEach((cell) => (cell.textContent = "0"));
        this.apply(this.model.initialise());
        this.record.startExperiment();
        this.syncControls();
        form.root.style.cursor = "";
        if (await this.askRungCount()) {
            this.syncControls();
        }
    }

    private help(): void {
        playChime("pinpon.wav");
        this.model.stop();
        this.form?.root.remove();
        this.form = null;
        const holder = document.createElement("div");
        const help = createHelpForm(holder, this.texts);
        document.title = this.texts.helpTitle;
        this.stage.show(help.root, HELP_WIDTH, HELP_HEIGHT, () => undefined);
        this.stage.show(help.root, widenForTheLongestLine(help), HELP_HEIGHT, (scale) => growCloseArea(help, scale));
        const escape = (event: KeyboardEvent) => {
            if (event.key === "Escape" && !document.querySelector("dialog[open]")) {
                event.preventDefault();
                help.close.click();
            }
        };
        document.addEventListener("keydown", escape);
        help.close.onclick = () => {
            document.removeEventListener("keydown", escape);
            help.root.remove();
            void this.openMainWindow();
        };
        help.close.focus();
    }

    private end(): void {
        this.model.stop();
        this.form = null;
        this.stage.end();
    }

    /** Asks until a rung count is set (true), or the user chose to quit (false). */
    private async askRungCount(): Promise<boolean> {
        for (;;) {
            const answer = await inputBox(this.texts.prompt, this.texts.promptTitle, this.texts.promptDefault);
            if (answer !== "") {
                const rungs = this.engine.rungCountOf(answer);
                if (rungs > 0) {
                    this.model.rungCountChosen(rungs);
                    return true;
                }
                continue;
            }
            if (await askYesNo(this.texts.quitQuestion, this.texts.cancelTitle)) {
                this.end();
                return false;
            }
        }
    }

    private requestFrame(): void {
        if (!this.frameRequested && this.model.nextDue() >= 0) {
            this.frameRequested = true;
            requestAnimationFrame(() => this.frame());
        }
    }

    /** Applies every tick due by now, landing by landing. */
    private frame(): void {
        this.frameRequested = false;
        if (!this.form) {
            return;
        }
        const now = performance.now();
        for (let events = this.model.advance(now); events.length > 0; events = this.model.advance(now)) {
            const landing = this.apply(events);
            if (landing) {
                void this.keep(landing);
                return;
            }
        }
        this.syncControls();
        this.requestFrame();
    }

    /** Draws `events`; answers the landing among them, which shows once it is stored. */
    private apply(events: WindowEvent[]): WindowEvent | null {
        let landing: WindowEvent | null = null;
        const form = this.form!;
        for (const event of events) {
            switch (event.kind) {
                case EventKind.Cleared:
                    this.rungs = [];
                    form.surface.canvas.dataset.rungs = "";
                    form.surface.clear();
                    this.drawEmptyLadder();
                    form.rungNumber.textContent = "";
                    break;
                case EventKind.RungNumber:
                    form.rungNumber.textContent = String(event.number);
                    break;
                case EventKind.LadderLine:
                    // The ladder in words too, rung by rung as gap:height, for assistive tools.
                    this.rungs.push(`${event.line.x1}:${event.line.y1}`);
                    form.surface.canvas.dataset.rungs = this.rungs.join(" ");
                    form.surface.draw(event.line, LADDER_BLACK);
                    break;
                case EventKind.PathLine:
                    form.surface.draw(event.line, PATH_RED);
                    break;
                case EventKind.Counted:
                case EventKind.Finished:
                    landing = event;
                    break;
            }
        }
        return landing;
    }

    /**
     * Writes the landing's line, then shows its marker and lets the trials go on; a landing the
     * storage refuses stops the trials, its marker unshown until it is written.
     */
    private async keep(event: WindowEvent): Promise<void> {
        const form = this.form!;
        const showing = this.showing;
        const ends = event.kind === EventKind.Finished;
        // The end line keeps the column's count: the landing that ends is not counted.
        const count = ends ? this.model.count(event.column) : event.number;
        const show = () => {
            if (this.showing === showing && !ends) {
                form.markers[event.column - 1][event.number - 1].hidden = false;
                form.tally[event.column - 1].textContent = String(event.number);
                announce(landingSentence(event.column, event.number));
            }
            if (ends) {
                announce(endSentence(event.column));
                this.stage.experimentEnded();
            }
        };
        form.root.setAttribute("aria-busy", "true");
        const refusal = await this.record.keep({ rungs: this.model.rungCount(), start: START_LINE, column: event.column, count, ends });
        form.root.removeAttribute("aria-busy");
        if (refusal) {
            this.unshown = show;
            this.refused(refusal);
            return;
        }
        this.model.landingKept(performance.now());
        show();
        this.syncControls();
        this.requestFrame();
    }

    /** The trials stop and the page says why: the landing is written at the next start. */
    private refused(reason: string): void {
        this.model.landingRefused();
        this.stage.storageRefused(`${reason}着地の印を出す前に実験を止めました。「${this.texts.start}」を押すと、その着地から書き込みます。`);
        this.syncControls();
    }

    private drawEmptyLadder(): void {
        for (const line of constants().emptyLadder) {
            this.form!.surface.draw(line, LADDER_BLACK);
        }
    }

    private syncControls(): void {
        const form = this.form;
        if (!form) {
            return;
        }
        const controls = this.model.controls();
        form.start.disabled = !controls.start;
        form.quit.disabled = !controls.quit;
        form.initialise.disabled = !controls.initialise;
        form.stop.disabled = !controls.stop;
        form.help.disabled = !controls.help;
    }
}
