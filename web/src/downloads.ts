// Files the page hands to the user: a record, a chart, a table.

/** Offers `data` for download as `name`. */
export function download(name: string, data: Blob): void {
    const link = document.createElement("a");
    link.href = URL.createObjectURL(data);
    link.download = name;
    document.body.appendChild(link);
    link.click();
    link.remove();
    setTimeout(() => URL.revokeObjectURL(link.href), 1000);
}

/** The SVG document `svg` drawn to a PNG of its own size. */
export function svgToPng(svg: string): Promise<Blob> {
    return new Promise((resolve, reject) => {
        const image = new Image();
        const url = URL.createObjectURL(new Blob([svg], { type: "image/svg+xml" }));
        image.onload = () => {
            const canvas = document.createElement("canvas");
            canvas.width = image.naturalWidth || 1200;
            canvas.height = image.naturalHeight || 720;
            const context = canvas.getContext("2d")!;
            context.fillStyle = "#fff";
            context.fillRect(0, 0, canvas.width, canvas.height);
            context.drawImage(image, 0, 0, canvas.width, canvas.height);
            URL.revokeObjectURL(url);
            canvas.toBlob((png) => (png ? resolve(png) : reject(new Error("PNG"))), "image/png");
        };
        image.onerror = () => reject(new Error("SVG"));
        image.src = url;
    });
}
