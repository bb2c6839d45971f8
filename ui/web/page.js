// The page of the web edition: runs the program in a Web Worker made from the inline worker
// source, and draws its two requesters as the Windows edition's windows, in HTML. The texts of
// both come from the program's calls.
'use strict';

const $ = (id) => document.getElementById(id);
const status = $('status');
const again = $('again');

// The program, compiled once and run as often as the user asks.
const program = WebAssembly.compile(
    Uint8Array.from(atob($('program').textContent.trim()), (c) => c.charCodeAt(0)));
const workerSource = URL.createObjectURL(
    new Blob([$('worker').textContent], { type: 'text/javascript' }));

// Shows `dialog` until `answered` is called with the answer; Escape and a close that the
// browser forces (repeated Escape) give `cancelled`. Resolves to the answer.
function ask(dialog, cancelled, setUp) {
    return new Promise((resolve) => {
        let done = false;
        const answered = (value) => {
            if (done) return;
            done = true;
            dialog.close();
            resolve(value);
        };
        dialog.oncancel = (event) => {
            event.preventDefault();
            answered(cancelled);
        };
        dialog.onclose = () => answered(cancelled);
        setUp(answered);
        status.textContent = '';
        dialog.showModal();
    });
}

// The input window: caption, prompt and the edit field holding the preset text, its caret at
// the end; Enter or "Ok" confirm with the text, Escape cancels with the empty text.
function input({ caption, prompt, preset }) {
    const dialog = $('input');
    const field = $('input-field');
    $('input-caption').textContent = caption;
    $('input-prompt').textContent = prompt;
    field.value = preset ?? '';
    return ask(dialog, '', (answered) => {
        $('input-form').onsubmit = (event) => {
            event.preventDefault();
            answered(field.value);
        };
        dialog.onkeydown = (event) => {
            if (event.key === 'Escape') {
                event.preventDefault();
                answered('');
            }
        };
        queueMicrotask(() => field.setSelectionRange(field.value.length, field.value.length));
    });
}

// The message box: caption, the text with its CR LF pairs as line breaks, one OK button that
// Enter, Escape and a click all press. A long text scrolls inside the box.
function note({ caption, text }) {
    const dialog = $('note');
    $('note-caption').textContent = caption;
    const body = $('note-text');
    body.textContent = text.replaceAll('\r\n', '\n');
    body.scrollTop = 0;
    return ask(dialog, 1, (answered) => {
        $('note-ok').onclick = () => answered(1);
        dialog.onkeydown = (event) => {
            if (event.key === 'Enter' || event.key === 'Escape') {
                event.preventDefault();
                answered(1);
            }
        };
    });
}

// The end of a run, in one line; a non-zero exit code is a failure, never a normal end.
function ended(message) {
    let line;
    if (message.type === 'crash') line = `Das Programm ist abgestürzt: ${message.message}`;
    else if (message.code === 0) line = 'Das Programm ist beendet.';
    else if (message.code === 3) line = 'Das Programm ist abgebrochen: zu wenig Speicher (Exit-Code 3).';
    else line = `Das Programm ist abgebrochen (Exit-Code ${message.code}).`;
    status.textContent = line;
    again.hidden = false;
    again.focus();
}

async function run() {
    again.hidden = true;
    status.textContent = 'Das Programm läuft …';
    const worker = new Worker(workerSource);
    worker.onmessage = async ({ data }) => {
        switch (data.type) {
        case 'input':
            worker.postMessage({ answer: await input(data) });
            break;
        case 'note':
            worker.postMessage({ answer: await note(data) });
            break;
        default:
            worker.terminate();
            ended(data);
        }
        if (data.type === 'input' || data.type === 'note') status.textContent = 'Das Programm läuft …';
    };
    worker.onerror = (event) => {
        worker.terminate();
        ended({ type: 'crash', message: event.message || 'Fehler im Worker' });
    };
    try {
        worker.postMessage({ module: await program });
    } catch (error) {
        worker.terminate();
        ended({ type: 'crash', message: String(error?.message ?? error) });
    }
}

again.onclick = run;
run();
