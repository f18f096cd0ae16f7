// The page: the toolbar around the windows, scaling to the viewport, and start-up.

import { constants, setConstants } from "./constants";
import { download } from "./downloads";
import { loadEngine } from "./engine";
import { ExperimentPage, type Stage } from "./experiment_page";
import { LessonPage } from "./lesson_page";
import { TheoryPage } from "./theory_page";
import { IndexedLines } from "./indexed_lines";
import { MemoryLines, RecordStore, type LineStore } from "./record_store";
import { fitScale } from "./twips";
import { readAddress } from "./url_options";

function freshSeed(): number {
    const word = new Uint32Array(1);
    crypto.getRandomValues(word);
    return word[0];
}

/** The record's storage, with what the page must say of it, if anything. */
async function openRecordStorage(): Promise<{ store: LineStore; warning: string }> {
    let store: IndexedLines;
    try {
        store = await IndexedLines.open();
    } catch {
        return {
            store: new MemoryLines(),
            warning: "このブラウザは記録を残せないので、記録はこのページを閉じるまでしか残りません。実験が終わるごとに「記録を保存」でファイルに書き出してください。",
        };
    }
    try {
        await store.moveFrom(window.localStorage);
    } catch {
        return { store, warning: "前の版が残した記録を移せませんでした。その記録はそのまま残してあります。" };
    }
    return { store, warning: "" };
}

/** Whether the browser promises to keep the record until the user removes it. */
async function storageKept(): Promise<boolean> {
    try {
        return (await navigator.storage?.persist?.()) ?? false;
    } catch {
        return false;
    }
}

/**
 * How far the browser is zoomed in: 1 when it is not, or when it cannot be told. Zoom narrows
 * the page in both directions alike; a page narrowed only across (a panel beside it, an
 * emulated phone) is not zoomed.
 */
function browserZoom(): number {
    if (!(window.outerWidth > 0 && window.outerHeight > 0)) {
        return 1;
    }
    const across = window.outerWidth / window.innerWidth;
    const down = window.outerHeight / window.innerHeight;
    return across > 1.05 && across < 10 && down >= across * 0.98 ? across : 1;
}

/** The area the windows are shown in, scaled to fit whatever the viewport is. */
class PageStage implements Stage {
    private current: { form: HTMLElement; width: number; height: number; onScale: (scale: number) => void } | null =
        null;
    private endHandler: () => void = () => undefined;

    constructor(
        private readonly area: HTMLElement,
        private readonly notice: HTMLElement,
    ) {
        window.addEventListener("resize", () => this.fit());
    }

    show(form: HTMLElement, width: number, height: number, onScale: (scale: number) => void): void {
        this.area.replaceChildren(form);
        this.current = { form, width, height, onScale };
        this.fit();
    }

    /** Shows `view`, which lays itself out to fill the area. */
    showFluid(view: HTMLElement): void {
        this.current = null;
        this.area.replaceChildren(view);
    }

    /** Says why the address's options were refused, and offers the page without them. */
    refuseAddress(refusals: string[]): void {
        const box = document.createElement("section");
        box.className = "address-refused";
        box.setAttribute("role", "alert");
        const heading = document.createElement("h1");
        heading.textContent = "アドレスのオプションが正しくないので、始められません。";
        const list = document.createElement("ul");
        for (const refusal of refusals) {
            list.appendChild(document.createElement("li")).textContent = refusal;
        }
        const plain = document.createElement("a");
        plain.href = location.pathname;
        plain.textContent = "オプションなしで開く";
        box.append(heading, list, plain);
        this.area.replaceChildren(box);
        document.querySelectorAll<HTMLButtonElement>(".toolbar button").forEach((button) => (button.disabled = true));
    }

    storageRefused(reason: string): void {
        this.notice.textContent = reason;
        this.notice.hidden = false;
    }

    storageRecovered(): void {
        this.notice.hidden = true;
        this.notice.textContent = "";
    }

    /** Says `text` with a button that presses `save`. */
    offerSave(text: string, save: HTMLButtonElement): void {
        const button = document.createElement("button");
        button.type = "button";
        button.textContent = save.textContent;
        button.onclick = () => save.click();
        this.notice.replaceChildren(text, button);
        this.notice.hidden = false;
    }

    onExperimentEnd(handler: () => void): void {
        this.endHandler = handler;
    }

    experimentEnded(): void {
        this.endHandler();
    }

    end(): void {
        this.current = null;
        this.area.replaceChildren();
        const ended = document.createElement("p");
        ended.className = "ended";
        ended.textContent = "終了しました。このタブやウィンドウは閉じてかまいません。もう一度始めるときはページを読み込み直してください。";
        this.area.appendChild(ended);
        window.close();
    }

    private fit(): void {
        if (!this.current) {
            return;
        }
        const { form, width, height, onScale } = this.current;
        const box = this.area.getBoundingClientRect();
        // What lies above the area (the toolbar) grows with the zoom too.
        const above = box.top + window.scrollY;
        // The window fits the area as it would be unzoomed, so that zooming in enlarges it
        // (the area then scrolls); it is never drawn smaller than its own size.
        const zoom = browserZoom();
        const scale = Math.max(1, fitScale(width, height, box.width * zoom, (box.height + above) * zoom - above));
        form.style.transform = `scale(${scale})`;
        form.style.left = `${Math.max(0, (box.width - width * scale) / 2)}px`;
        onScale(scale);
    }
}

async function start(): Promise<void> {
    const engine = await loadEngine();
    const stageArea = document.getElementById("stage")!;
    const stage = new PageStage(stageArea, document.getElementById("notice")!);
    setConstants(engine.pageConstants());
    const address = readAddress(location.search, constants());
    if ("refusals" in address) {
        stage.refuseAddress(address.refusals);
        document.body.dataset.ready = "true";
        return;
    }
    const options = address.options;
    const seed = options.seed;
    const model = new engine.PageWindow(seed ?? freshSeed(), seed === null);
    const storage = await openRecordStorage();
    const record = new RecordStore(storage.store, engine.recordHeader(), new engine.PageRecordKeeper());
    if (storage.warning) {
        stage.storageRefused(storage.warning);
    }
    const kept = storageKept();
    const save = document.getElementById("save-record") as HTMLButtonElement;
    save.onclick = async () => download("tanabashigo-record.csv", new Blob([await record.contents()], { type: "text/csv" }));
    // Where the browser may remove the record (Safari after days unused), each experiment's end
    // offers to save it as a file.
    stage.onExperimentEnd(async () => {
        if (!(await kept)) {
            stage.offerSave("このブラウザは、しばらく使わないと記録を消すことがあります。ファイルにも残すには「記録を保存」を押してください。", save);
        }
    });
    const page = new ExperimentPage(engine, model, record, stage);

    // 授業モード is a switch: the experiment window and the lesson never run together.
    const lessonSwitch = document.getElementById("lesson-mode") as HTMLButtonElement;
    let lesson: LessonPage | null = null;
    const openLesson = () => {
        model.stop();
        lesson = new LessonPage(engine, engine.windowTexts(), record,
            { seed: seed ?? freshSeed(), rungs: options.rungs ?? 50, start: options.start ?? 3 },
            (reason) => (reason ? stage.storageRefused(reason) : stage.storageRecovered()));
        stage.showFluid(lesson.root);
        lesson.shown();
        lessonSwitch.setAttribute("aria-pressed", "true");
    };
    lessonSwitch.onclick = async () => {
        if (!lesson) {
            if (!document.querySelector("dialog[open]")) {
                openLesson();
            }
            return;
        }
        if (!(await lesson.ask("授業モードの印を消して、ふつうの画面にもどりますか？", "授業モード"))) {
            return;
        }
        lesson.close();
        lesson = null;
        lessonSwitch.setAttribute("aria-pressed", "false");
        await openMainWindow();
    };

    // 理論と実験 lies over whatever runs, as a second window would, at its rung count and start
    // line; it keeps its simulations and records from one showing to the next.
    const theorySwitch = document.getElementById("theory") as HTMLButtonElement;
    const theoryArea = document.getElementById("theory-area")!;
    let theory: TheoryPage | null = null;
    let mainWindowOpened = false;
    const openMainWindow = () => {
        mainWindowOpened = true;
        return page.openMainWindow();
    };
    theorySwitch.onclick = () => {
        const showing = theorySwitch.getAttribute("aria-pressed") === "true";
        theorySwitch.setAttribute("aria-pressed", String(!showing));
        theoryArea.hidden = showing;
        // What the theory covers takes neither the focus nor the pointer.
        stageArea.inert = !showing;
        if (showing) {
            // Opened from the address on its own, the experiment comes once the theory goes.
            if (!mainWindowOpened && !lesson) {
                void openMainWindow();
            }
            return;
        }
        const [rungs, start] = lesson ? [lesson.rungCount(), lesson.startLine()] : [page.rungCount() || 30, 3];
        if (!theory) {
            const engineSource = document.getElementById("engine-script")!.textContent ?? "";
            theory = new TheoryPage(engine, engineSource, rungs, start, lesson?.speed());
            theoryArea.appendChild(theory.root);
        } else {
            theory.choose(rungs, start, lesson?.speed());
        }
    };
    document.body.dataset.ready = "true";
    if (options.lesson) {
        openLesson();
    } else if (!options.theory) {
        await openMainWindow();
    }
    if (options.theory) {
        theorySwitch.click();
    }
}

void start();
