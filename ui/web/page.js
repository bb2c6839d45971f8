// The page of the web edition: runs the program in a Web Worker made from the inline worker
// source, and draws its two requesters as the Windows edition's windows, in HTML. The texts of
// both come from the program's calls. This file is ASCII (other characters as escapes): a
// server that names another charset must not change the script its hash allows.
'use strict';

const $ = (id) => document.getElementById(id);
const status = $('status');
const again = $('again');
const Running = 'Das Programm l\u00e4uft \u2026';
const SummaryLineLength = 100; // characters of a long line kept in its summary

// The program, compiled once and run as often as the user asks.
const program = WebAssembly.compile(
    Uint8Array.from(atob($('program').textContent.trim()), (c) => c.charCodeAt(0)));
const workerSource = URL.createObjectURL(
    new Blob([$('worker').textContent], { type: 'text/javascript' }));

// Writes the status line once the page has drawn a frame after this call (or after 100 ms,
// where a hidden page draws none); a later call, or a window that opens, cancels it. A modal
// window makes the rest of the page inert, outside the accessibility tree: a line written in
// the step that closes the window enters the tree already written, and a screen reader
// announces nothing.
let statusTurn = 0; // the write that may still happen; any other is cancelled
function announce(text) {
    const turn = ++statusTurn;
    const write = () => {
        if (turn !== statusTurn) return;
        ++statusTurn; // once
        status.textContent = text;
    };
    requestAnimationFrame(() => setTimeout(write));
    setTimeout(write, 100);
}

// Empties the status line now, and cancels a write to come, so that a line written again counts.
function clearStatus() {
    ++statusTurn;
    status.textContent = '';
}

// Shows `dialog` until `answered` is called with the answer; Escape and a close the browser
// forces (repeated Escape) give `cancelled`. Resolves to the answer. setUp's work that needs the
// window open waits in a microtask, run once showModal() has returned, before the page is drawn.
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
        clearStatus();
        dialog.showModal();
    });
}

// The input window: caption, prompt and the edit field holding the preset text, its caret at
// the end; Enter or "Ok" confirm with the text, Escape cancels with the empty text. Unlike the
// Windows window's own message loop, the browser lets Tab move between the field and "Ok", as
// keyboard users of a page expect.
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

// The message box: caption, the text as the program passed it (its line feeds break the lines;
// a carriage return shows as nothing), one OK button that Enter, Escape and a click all press;
// the program's flags are always 0, which is that. A long text scrolls inside the box.
function note({ caption, text }) {
    const dialog = $('note');
    $('note-caption').textContent = caption ?? '';
    const body = $('note-text');
    body.textContent = text ?? '';
    body.scrollTop = 0;
    // A long text is described in brief (each line cut after some 100 characters, after a
    // comma where there is one), not read out whole when the box opens.
    const summary = $('note-summary');
    const cut = (line) => {
        const comma = line.lastIndexOf(', ', SummaryLineLength);
        return `${line.slice(0, comma > 0 ? comma + 1 : SummaryLineLength)} \u2026`;
    };
    summary.textContent = body.textContent.split('\n')
        .map((line) => (line.length <= SummaryLineLength ? line : cut(line))).join('\n');
    dialog.setAttribute('aria-describedby',
        body.textContent.length > summary.textContent.length ? 'note-summary' : 'note-text');
    return ask(dialog, 1, (answered) => {
        $('note-ok').onclick = () => answered(1);
        // A text that scrolls is a tab stop named by the caption, for scrolling by keyboard;
        // one that does not, none.
        queueMicrotask(() => {
            const scrolls = body.scrollHeight > body.clientHeight;
            for (const [name, value] of
                [['tabindex', '0'], ['role', 'region'], ['aria-labelledby', 'note-caption']])
                if (scrolls) body.setAttribute(name, value); else body.removeAttribute(name);
        });
        dialog.onkeydown = (event) => {
            if (event.key === 'Enter' || event.key === 'Escape') {
                event.preventDefault();
                answered(1);
            }
        };
    });
}

// The end of a run, in one line; a non-zero exit code is a failure, never a normal end. Code 3
// is the runtime's for a heap that ran out.
function ended(message) {
    let line;
    if (message.type === 'crash') line = `Das Programm ist abgest\u00fcrzt: ${message.message}`;
    else if (message.code === 0) line = 'Das Programm ist beendet.';
    else if (message.code === 3)
        line = 'Das Programm ist abgebrochen: zu wenig Speicher (Exit-Code 3).';
    else line = `Das Programm ist abgebrochen (Exit-Code ${message.code}).`;
    announce(line);
    again.hidden = false;
    again.focus();
}

const crash = (error) => ({ type: 'crash', message: String(error?.message ?? error) });

// Runs the program once, in a fresh worker, until it ends; whatever fails ends the run too.
async function run() {
    again.hidden = true;
    announce(Running);
    let worker = null;
    const end = (message) => {
        worker?.terminate();
        ended(message);
    };
    try {
        worker = new Worker(workerSource);
        worker.onmessage = async ({ data }) => {
            try {
                if (data.type !== 'input' && data.type !== 'note') return end(data);
                const answer = await (data.type === 'input' ? input(data) : note(data));
                worker.postMessage({ answer });
                announce(Running);
            } catch (error) {
                end(crash(error));
            }
        };
        worker.onerror = (event) =>
            end({ type: 'crash', message: event.message || 'Fehler im Worker' });
        worker.postMessage({ module: await program });
    } catch (error) {
        end(crash(error));
    }
}

again.onclick = run;
run();
