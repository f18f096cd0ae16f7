// The scaffolding of the page's workers: the engine's own script, then a handler that gets
// the engine, once compiled, with each message.

/** A worker's script address: `engineSource`, then `handler`, the body of an async function of `engine` and `data`. */
export function engineWorkerUrl(engineSource: string, handler: string): string {
    const body = `
const ready = createEngine();
onmessage = async ({ data }) => {
    const engine = await ready;
    ${handler}
};
`;
    return URL.createObjectURL(new Blob([engineSource, body], { type: "text/javascript" }));
}
