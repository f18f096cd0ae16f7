// Simulations on every core: Web Workers, each running the engine's sampler on the blocks the
// pool hands out. The blocks and their seeds are the desktop's, so the counts are the same
// whatever the number of workers.

import { constants } from "./constants";
import { engineWorkerUrl } from "./engine_worker";

/** What each worker does with a block: the engine's sampler. */
const BLOCK = `
    const counts = engine.simulateBlocks(data.rungs, data.start, data.seed, data.first, 1, data.trials);
    postMessage({ first: data.first, counts });
`;

export interface SimulationRequest {
    rungs: number;
    start: number;
    seed: number;
    trials: number;
}

interface Run {
    request: SimulationRequest;
    blocks: number;
    nextBlock: number;
    blocksDone: number;
    counts: number[];
    progress: (done: number, total: number) => void;
    finish: (counts: number[] | null) => void;
}

export class SimulationPool {
    private workers: Worker[] = [];
    private run: Run | null = null;
    private readonly url: string;

    /** Workers built from `engineSource`, the engine's script text; `size` of them. */
    constructor(
        engineSource: string,
        private readonly trialsPerBlock: number,
        private readonly size = Math.max(1, navigator.hardwareConcurrency || 2),
    ) {
        this.url = engineWorkerUrl(engineSource, BLOCK);
    }

    get workerCount(): number {
        return this.size;
    }

    /** The landings per column of `request`, or null when cancelled. */
    simulate(request: SimulationRequest, progress: (done: number, total: number) => void): Promise<number[] | null> {
        this.cancel();
        if (this.workers.length === 0) {
            this.workers = Array.from({ length: this.size }, () => {
                const worker = new Worker(this.url);
                worker.onmessage = ({ data }) => this.received(worker, data.counts);
                return worker;
            });
        }
        return new Promise((finish) => {
            const blocks = Math.ceil(request.trials / this.trialsPerBlock);
            this.run = { request, blocks, nextBlock: 0, blocksDone: 0, counts: Array(constants().lineCount).fill(0), progress, finish };
            if (blocks === 0) {
                this.complete();
                return;
            }
            this.workers.forEach((worker) => this.handOut(worker));
        });
    }

    /** Stops at once: the workers are ended, and the run answers null. */
    cancel(): void {
        if (!this.run) {
            return;
        }
        this.workers.forEach((worker) => worker.terminate());
        this.workers = [];
        const { finish } = this.run;
        this.run = null;
        finish(null);
    }

    private handOut(worker: Worker): void {
        const run = this.run!;
        if (run.nextBlock < run.blocks) {
            worker.postMessage({ ...run.request, first: run.nextBlock++ });
        }
    }

    private received(worker: Worker, counts: number[]): void {
        const run = this.run;
        if (!run) {
            return;
        }
        counts.forEach((count, column) => (run.counts[column] += count));
        ++run.blocksDone;
        run.progress(Math.min(run.request.trials, run.blocksDone * this.trialsPerBlock), run.request.trials);
        if (run.blocksDone === run.blocks) {
            this.complete();
        } else {
            this.handOut(worker);
        }
    }

    private complete(): void {
        const run = this.run!;
        this.run = null;
        run.finish(run.counts);
    }
}
