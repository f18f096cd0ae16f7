// The window's modal boxes as HTML dialogs: the text input box, the yes/no box and a message.

import { child } from "./twips";

let boxes = 0;

interface Choice<T> {
    caption: string;
    answer: () => T;
}

/**
 * Shows a modal box titled `title` whose body `fill` writes, and settles with the answer of
 * the button pressed; Escape answers `cancelled`. The first button has the focus.
 */
function modalBox<T>(title: string, fill: (body: HTMLElement) => void, choices: Choice<T>[], cancelled: () => T): Promise<T> {
    return new Promise((resolve) => {
        const dialog = child(document.body, "dialog", "box");
        const heading = child(dialog, "div", "box-title", title);
        heading.id = `box-title-${++boxes}`;
        dialog.setAttribute("aria-labelledby", heading.id);
        fill(child(dialog, "div", "box-body"));
        const buttons = child(dialog, "div", "box-buttons");
        const settle = (answer: () => T) => {
            dialog.close();
            dialog.remove();
            resolve(answer());
        };
        const pressed = choices.map(({ caption, answer }) => {
            const button = child(buttons, "button", "box-button", caption);
            button.onclick = () => settle(answer);
            return button;
        });
        dialog.oncancel = (event) => {
            event.preventDefault();
            settle(cancelled);
        };
        dialog.showModal();
        pressed[0].focus();
    });
}

/** Asks for a line of text; cancelling (キャンセル or Escape) answers empty text. */
export function inputBox(prompt: string, title: string, initial: string): Promise<string> {
    let field: HTMLInputElement;
    const box = modalBox(
        title,
        (body) => {
            const label = child(body, "label", "box-prompt", prompt);
            field = child(body, "input", "box-field");
            field.value = initial;
            field.id = `box-field-${boxes}`;
            label.htmlFor = field.id;
            field.onkeydown = (event) => {
                if (event.key === "Enter" && !event.isComposing) {
                    event.preventDefault();
                    (field.closest("dialog")!.querySelector(".box-button") as HTMLButtonElement).click();
                }
            };
        },
        [
            { caption: "OK", answer: () => field.value },
            { caption: "キャンセル", answer: () => "" },
        ],
        () => "",
    );
    field!.focus();
    field!.select();
    return box;
}

/** Asks a yes/no question; はい is the default button. Escape answers no. */
export function askYesNo(question: string, title: string): Promise<boolean> {
    return modalBox(
        title,
        (body) => child(body, "p", "box-question", question),
        [
            { caption: "はい", answer: () => true },
            { caption: "いいえ", answer: () => false },
        ],
        () => false,
    );
}

/** Tells `text` in a box with OK alone; settles when it is closed. */
export function tell(text: string, title: string): Promise<void> {
    return modalBox(title, (body) => child(body, "p", "box-question", text), [{ caption: "OK", answer: () => undefined }], () => undefined);
}
