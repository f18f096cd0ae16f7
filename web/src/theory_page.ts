// 理論と実験 in the page: the exact law and fairness drawn by the engine's chart library, the
// same sentences as the desktop, simulations on every core, and a class's records pooled.

import { constants } from "./constants";
import { download, printSheet, svgToPng } from "./downloads";
import type { Engine, PageTheory, PooledLadder } from "./engine";
import { RecordLoader, type LoadedRecords } from "./record_load";
import { SimulationPool } from "./simulation_pool";
import { hiddenHeading } from "./spoken";
import { child } from "./twips";

const TRIAL_CHOICES = [1_000, 10_000, 100_000, 1_000_000, 10_000_000, 100_000_000];

/** A row of controls that assistive tools name `name`. */
function group(parent: HTMLElement, name: string): HTMLElement {
    const row = child(parent, "div", "theory-controls");
    row.setAttribute("role", "group");
    row.setAttribute("aria-label", name);
    return row;
}

/** Shows the chart document `svg` in `holder`, named by the chart's own title. */
function showChart(holder: HTMLElement, svg: string): void {
    holder.innerHTML = svg;
    holder.setAttribute("aria-label", holder.querySelector("svg > title")?.textContent ?? "図");
}

export class TheoryPage {
    readonly root: HTMLElement;
    private readonly theory: PageTheory;
    private readonly loader: RecordLoader;
    private records: LoadedRecords = { refusals: [], notes: [], ladders: [] };
    private readonly readProgress: HTMLProgressElement;
    private readonly readStatus: HTMLElement;
    private readonly readCancel: HTMLButtonElement;
    private readonly pool: SimulationPool;
    private readonly rungsRange: HTMLInputElement;
    private readonly rungsField: HTMLInputElement;
    private readonly startField: HTMLSelectElement;
    private readonly trialsField: HTMLSelectElement;
    private readonly seedField: HTMLInputElement;
    private readonly runButton: HTMLButtonElement;
    private readonly cancelButton: HTMLButtonElement;
    private readonly progress: HTMLProgressElement;
    private readonly lawChart: HTMLElement;
    private readonly fairnessChart: HTMLElement;
    private readonly allLinesChart: HTMLElement;
    private readonly allLinesSentences: HTMLElement;
    private readonly settlingChart: HTMLElement;
    private readonly settlingSentence: HTMLElement;
    private readonly sentences: HTMLElement;
    private readonly recordTable: HTMLElement;
    private readonly recordErrors: HTMLElement;
    private pooled: PooledLadder | null = null;

    constructor(engine: Engine, engineSource: string, rungs: number, start: number, speed?: number) {
        this.theory = new engine.PageTheory();
        this.loader = new RecordLoader(engineSource);
        this.pool = new SimulationPool(engineSource, engine.trialsPerBlock());
        this.root = document.createElement("div");
        this.root.className = "theory";
        hiddenHeading(this.root, 1, "理論と実験");
        const controls = group(this.root, "たなばしご");
        const label = (caption: string, field: HTMLElement) => {
            const element = child(controls, "label", "lesson-setting", caption);
            element.appendChild(field);
            return element;
        };
        this.rungsRange = document.createElement("input");
        const { lineCount, rungSlots, largestSeed } = constants();
        Object.assign(this.rungsRange, { type: "range", min: "0", max: String(rungSlots) });
        this.rungsField = document.createElement("input");
        Object.assign(this.rungsField, { type: "number", min: "0", max: String(rungSlots) });
        label("横線", this.rungsRange).appendChild(this.rungsField);
        this.rungsRange.setAttribute("aria-label", "横線の本数（つまみ）");
        this.rungsField.setAttribute("aria-label", "横線の本数");
        this.rungsRange.oninput = () => this.chooseRungs(Number(this.rungsRange.value));
        this.rungsField.onchange = () => this.chooseRungs(Number(this.rungsField.value));
        this.startField = document.createElement("select");
        for (let line = 1; line <= lineCount; ++line) {
            this.startField.add(new Option(String(line), String(line)));
        }
        label("スタート", this.startField);
        this.startField.onchange = () => {
            this.theory.setStart(Number(this.startField.value));
            this.refresh();
        };

        const simulation = group(this.root, "シミュレーション");
        this.trialsField = document.createElement("select");
        for (const trials of TRIAL_CHOICES) {
            this.trialsField.add(new Option(`${trials.toLocaleString("ja-JP")} 回`, String(trials), trials === 1_000_000, trials === 1_000_000));
        }
        const simLabel = child(simulation, "label", "lesson-setting", "シミュレーション");
        simLabel.appendChild(this.trialsField);
        this.seedField = document.createElement("input");
        Object.assign(this.seedField, { type: "number", min: "0", max: String(largestSeed), value: "1" });
        const seedLabel = child(simulation, "label", "lesson-setting", "乱数の種");
        seedLabel.appendChild(this.seedField);
        this.runButton = child(simulation, "button", "lesson-button", "実行");
        this.runButton.onclick = () => void this.simulate();
        this.cancelButton = child(simulation, "button", "lesson-button", "中止");
        this.cancelButton.disabled = true;
        this.cancelButton.onclick = () => this.pool.cancel();
        this.progress = child(simulation, "progress", "theory-progress");
        this.progress.value = 0;
        this.progress.setAttribute("aria-label", "シミュレーションの進み具合");
        child(simulation, "span", "theory-workers", `${this.pool.workerCount} 個のワーカー`);

        const files = group(this.root, "クラスの記録と書き出し");
        const open = child(files, "button", "lesson-button", "記録を開く（複数可）");
        const input = child(files, "input", "file-input");
        open.onclick = () => input.click();
        input.tabIndex = -1;
        input.type = "file";
        input.multiple = true;
        input.accept = ".csv,text/csv";
        input.onchange = () => void this.openFiles(Array.from(input.files ?? []));
        const exports: [string, () => void][] = [
            ["法則の図 SVG", () => this.saveSvg("landing-law", this.theory.lawChartSvg())],
            ["法則の図 PNG", () => void this.savePng("landing-law", this.theory.lawChartSvg())],
            ["公平さの図 SVG", () => this.saveSvg("fairness", this.theory.fairnessChartSvg())],
            ["公平さの図 PNG", () => void this.savePng("fairness", this.theory.fairnessChartSvg())],
            ["どこをひいても の図 PNG", () => void this.savePng("every-line", this.theory.allLinesChartSvg())],
            ["表をCSVで保存", () => download(`tanabashigo-${this.theory.rungs()}.csv`, new Blob([this.theory.tableCsv()], { type: "text/csv" }))],
            ["ワークシートを印刷", () => void printSheet(this.theory.worksheetSvg())],
        ];
        this.readCancel = child(files, "button", "lesson-button record-cancel", "中止");
        this.readCancel.hidden = true;
        this.readCancel.onclick = () => this.loader.cancel();
        this.readProgress = child(files, "progress", "theory-progress record-progress");
        this.readProgress.hidden = true;
        this.readStatus = child(files, "span", "record-status");
        this.readStatus.setAttribute("role", "status");
        for (const [caption, run] of exports) {
            const button = child(files, "button", "lesson-button", caption);
            button.onclick = run;
        }
        this.root.addEventListener("dragover", (event) => event.preventDefault());
        this.root.addEventListener("drop", (event) => {
            event.preventDefault();
            void this.openFiles(Array.from(event.dataTransfer?.files ?? []));
        });

        this.recordErrors = child(this.root, "ul", "theory-errors");
        this.recordErrors.setAttribute("aria-live", "polite");
        this.sentences = child(this.root, "div", "theory-sentences");
        this.sentences.setAttribute("role", "region");
        this.sentences.setAttribute("aria-label", "結果");
        const charts = child(this.root, "div", "theory-charts");
        this.lawChart = child(charts, "div", "theory-chart law-chart");
        this.fairnessChart = child(charts, "div", "theory-chart fairness-chart");
        const allLines = child(this.root, "section", "theory-all-lines");
        allLines.setAttribute("aria-label", "どこをひいても");
        child(allLines, "h2", "theory-heading", "どこをひいても");
        this.allLinesChart = child(allLines, "div", "theory-chart all-lines-chart");
        this.allLinesSentences = child(allLines, "div", "theory-sentences");
        const settling = child(this.root, "section", "theory-all-lines");
        settling.setAttribute("aria-label", "大数の法則");
        child(settling, "h2", "theory-heading", "大数の法則");
        const columnField = document.createElement("select");
        columnField.add(new Option("すべての列", "0"));
        for (let column = 1; column <= lineCount; ++column) {
            columnField.add(new Option(`${column} 列目`, String(column)));
        }
        const columnLabel = child(settling, "label", "lesson-setting", "グラフにする列");
        columnLabel.appendChild(columnField);
        columnField.onchange = () => {
            this.theory.setSettlingColumn(Number(columnField.value));
            this.refresh();
        };
        this.settlingChart = child(settling, "div", "theory-chart all-lines-chart");
        this.settlingSentence = child(settling, "p", "theory-sentence");
        for (const chart of [this.lawChart, this.fairnessChart, this.allLinesChart, this.settlingChart]) {
            chart.setAttribute("role", "img");
        }
        this.recordTable = child(this.root, "div", "theory-records");
        this.choose(rungs, start, speed);
    }

    /** Shows the theory of `rungs` rungs from line `start`, its durations at the lesson's `speed` when given. */
    choose(rungs: number, start: number, speed?: number): void {
        if (speed !== undefined) {
            this.theory.setSpeed(speed);
        }
        this.theory.setStart(start);
        this.chooseRungs(rungs);
    }

    private chooseRungs(rungs: number): void {
        this.theory.setRungs(Number.isFinite(rungs) ? Math.round(rungs) : this.theory.rungs());
        this.refresh();
    }

    private refresh(): void {
        const rungs = String(this.theory.rungs());
        this.rungsRange.value = rungs;
        this.rungsField.value = rungs;
        this.startField.value = String(this.theory.start());
        this.root.dataset.law = this.theory.law().join(" ");
        showChart(this.lawChart, this.theory.lawChartSvg());
        showChart(this.fairnessChart, this.theory.fairnessChartSvg());
        showChart(this.allLinesChart, this.theory.allLinesChartSvg());
        this.allLinesSentences.replaceChildren();
        for (const text of this.theory.allLinesSentences()) {
            child(this.allLinesSentences, "p", "theory-sentence", text);
        }
        showChart(this.settlingChart, this.theory.settlingChartSvg());
        this.settlingSentence.textContent = this.theory.settlingSentence();
        this.sentences.replaceChildren();
        const comparison = this.theory.comparison();
        for (const text of [this.theory.fairnessSentence(), this.theory.durationSentence(),
            comparison?.japanese ?? "", comparison?.prediction ?? "", comparison?.figures ?? ""]) {
            if (text) {
                child(this.sentences, "p", "theory-sentence", text);
            }
        }
        this.showRecords();
    }

    private async simulate(): Promise<void> {
        const seed = Number(this.seedField.value);
        const { largestSeed } = constants();
        if (!Number.isInteger(seed) || seed < 0 || seed > largestSeed) {
            this.seedField.setCustomValidity(`0〜${largestSeed} の整数`);
            this.seedField.reportValidity();
            return;
        }
        this.seedField.setCustomValidity("");
        const request = { rungs: this.theory.rungs(), start: this.theory.start(), seed, trials: Number(this.trialsField.value) };
        this.runButton.disabled = true;
        this.cancelButton.disabled = false;
        this.progress.max = request.trials;
        this.progress.value = 0;
        this.progress.setAttribute("aria-label", "シミュレーションの進み具合");
        const counts = await this.pool.simulate(request, (done) => (this.progress.value = done));
        this.runButton.disabled = false;
        this.cancelButton.disabled = true;
        if (!counts) {
            this.progress.value = 0;
        this.progress.setAttribute("aria-label", "シミュレーションの進み具合");
            return;
        }
        const name = `シミュレーション（${request.trials.toLocaleString("ja-JP")} 回、乱数の種 ${seed}）`;
        this.theory.setComparison(name, "シミュレーションの結果", counts, request.rungs, request.start, []);
        this.root.dataset.simulated = counts.join(" ");
        this.refresh();
    }

    private async openFiles(files: File[]): Promise<void> {
        const megabytes = (bytes: number) => (bytes / 1048576).toFixed(1);
        this.readProgress.hidden = false;
        this.readProgress.value = 0;
        this.readCancel.hidden = false;
        this.readStatus.textContent = "記録を読んでいます…";
        const loaded = await this.loader.load(files, (done, total) => {
            this.readProgress.max = total;
            this.readProgress.value = done;
            this.readStatus.textContent = `記録を読んでいます… ${megabytes(done)} / ${megabytes(total)} MB`;
        });
        this.readProgress.hidden = true;
        this.readCancel.hidden = true;
        if (!loaded) {
            this.readStatus.textContent = "記録を読むのを中止しました。";
            return;
        }
        this.readStatus.textContent = "";
        this.records = loaded;
        this.recordErrors.replaceChildren();
        for (const refusal of loaded.refusals) {
            const where = refusal.line > 0 ? `${refusal.line} 行目：` : "";
            child(this.recordErrors, "li", "theory-error", `${refusal.name}：${where}${refusal.japanese}`);
        }
        for (const note of loaded.notes) {
            child(this.recordErrors, "li", "theory-note", note);
        }
        const ladders = loaded.ladders;
        this.theory.setClassLadders(ladders);
        this.pooled = ladders.find((l) => l.rungs === this.theory.rungs() && l.start === this.theory.start()) ?? ladders[0] ?? null;
        if (this.pooled) {
            this.compareWithClass(this.pooled);
        } else {
            this.refresh();
        }
    }

    private compareWithClass(ladder: PooledLadder): void {
        this.pooled = ladder;
        const name = `クラスの記録（${ladder.perFile.length} ファイル、実験 ${ladder.experiments} 回分）`;
        this.theory.setComparison(name, "クラスの結果", ladder.counts, ladder.rungs, ladder.start, ladder.prediction);
        this.refresh();
    }

    /** The pooled ladders to choose from, and the chosen one's counts file by file. */
    private showRecords(): void {
        this.recordTable.replaceChildren();
        const ladders = this.records.ladders;
        if (ladders.length === 0) {
            return;
        }
        const choices = child(this.recordTable, "div", "theory-choices");
        for (const ladder of ladders) {
            const button = child(choices, "button", "lesson-button", `横線 ${ladder.rungs} 本・${ladder.start} 本目から（${ladder.counts.reduce((a, b) => a + b, 0)} 回）`);
            button.setAttribute("aria-pressed", String(ladder === this.pooled));
            button.onclick = () => this.compareWithClass(ladder);
        }
        const chosen = this.pooled;
        if (!chosen) {
            return;
        }
        const table = child(this.recordTable, "table", "theory-table");
        child(table, "caption", "visually-hidden", "ファイルごとの着地の回数");
        const head = child(table, "tr", "");
        for (const text of ["ファイル", "実験", ...Array.from({ length: constants().lineCount }, (_, k) => `${k + 1}`), "合計"]) {
            child(head, "th", "", text);
        }
        const row = (name: string, experiments: number, counts: number[], className: string) => {
            const tr = child(table, "tr", className);
            for (const text of [name, String(experiments), ...counts.map(String), String(counts.reduce((a, b) => a + b, 0))]) {
                child(tr, "td", "", text);
            }
        };
        chosen.perFile.forEach((file) => row(file.name, file.experiments, file.counts, "file-row"));
        row("クラス全体", chosen.experiments, chosen.counts, "total-row");
    }

    private saveSvg(name: string, svg: string): void {
        download(`${name}.svg`, new Blob([svg], { type: "image/svg+xml" }));
    }

    private async savePng(name: string, svg: string): Promise<void> {
        download(`${name}.png`, await svgToPng(svg));
    }
}
