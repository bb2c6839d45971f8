// The web edition's program runner, started by the page as a Web Worker: it runs the WebAssembly
// program on what it needs of a system (the few WASI calls of its C library and the tick count)
// and hands its two requesters to the page, which draws them. Node.js imports this module for
// the tick count of the test suites and for the unit tests of its conversions; the page inlines
// it as a classic worker script, its exports taken off.

// Milliseconds of a monotonic clock (`ms`, as performance.now() gives them) cut to 32 bits: the
// tick count wraps at 2^32 as GetTickCount does.
export function cutTicks(ms) {
    return ms >>> 0;
}

export function tickCount() {
    return cutTicks(performance.now());
}

// The program's texts are windows-1252 bytes, as on a German Windows: Latin-1 but for the bytes
// 0x80 to 0x9F (the five that windows-1252 leaves out stand for themselves, as in browsers).
// Written out, because Node.js decodes "windows-1252" as Latin-1.
const ansiHigh = [
    '\u20ac\u0081\u201a\u0192\u201e\u2026\u2020\u2021\u02c6\u2030\u0160\u2039\u0152\u008d\u017d',
    '\u008f\u0090\u2018\u2019\u201c\u201d\u2022\u2013\u2014\u02dc\u2122\u0161\u203a\u0153\u009d',
    '\u017e\u0178',
].join('');
const ansiCharacter = Array.from({ length: 256 }, (_, byte) =>
    byte >= 0x80 && byte < 0xa0 ? ansiHigh[byte - 0x80] : String.fromCharCode(byte));
const ansiByte = new Map(ansiCharacter.map((character, byte) => [character, byte]));
const ansiText = (bytes) => Array.from(bytes, (byte) => ansiCharacter[byte]).join('');

// `text` as windows-1252 bytes, at most `capacity` of them; a character that has no byte there
// becomes "?", as Windows converts the text of an ANSI window.
export function encodeAnsi(text, capacity) {
    const bytes = new Uint8Array(Math.min(text.length, capacity));
    let length = 0;
    for (const character of text) {
        if (length === bytes.length) break;
        bytes[length++] = ansiByte.get(character) ?? 0x3f;
    }
    return bytes.subarray(0, length);
}

// The NUL-terminated windows-1252 text at `address` in `memory`; null for a null address.
export function decodeAnsi(memory, address) {
    if (address === 0) return null;
    const bytes = new Uint8Array(memory.buffer, address);
    return ansiText(bytes.subarray(0, bytes.indexOf(0)));
}

// Thrown by proc_exit through the program's frames: its end, with its exit code.
class ProgramExit {
    constructor(code) {
        this.code = code;
    }
}

// Where the program's standard output (fd 1) and error (fd 2) go unless told otherwise.
const toConsole = (fd, text) => (fd === 1 ? console.log : console.error)(text);

// The WASI calls the program's C library makes, as a page can serve them: standard output and
// error go to print(fd, text), a line at a time, proc_exit ends the run. Any other call fails
// with ENOSYS. `wanted`: the module's imports (WebAssembly.Module.imports).
export function wasiImports(wanted, memory, print) {
    const Success = 0, BadFile = 8, NotSupported = 52, NotSeekable = 70;
    const CharacterDevice = 2;
    const calls = {
        fd_write(fd, iovs, count, written) {
            if (fd !== 1 && fd !== 2) return BadFile;
            const view = new DataView(memory().buffer);
            let text = '', total = 0;
            for (let i = 0; i < count; ++i) {
                const start = view.getUint32(iovs + 8 * i, true);
                const length = view.getUint32(iovs + 8 * i + 4, true);
                text += ansiText(new Uint8Array(memory().buffer, start, length));
                total += length;
            }
            view.setUint32(written, total, true);
            if (text) print(fd, text.replace(/\n$/, ''));
            return Success;
        },
        fd_fdstat_get(fd, stat) {
            if (fd > 2) return BadFile;
            new Uint8Array(memory().buffer, stat, 24).fill(0)[0] = CharacterDevice;
            return Success;
        },
        fd_seek: () => NotSeekable,
        fd_close: () => Success,
        proc_exit(code) {
            throw new ProgramExit(code);
        },
    };
    const served = {};
    for (const { module: from, name } of wanted)
        if (from === 'wasi_snapshot_preview1') served[name] = calls[name] ?? (() => NotSupported);
    return served;
}

// Binaryen's Asyncify states.
const Unwinding = 1, Rewinding = 2;

// Runs the program (a compiled module) once. `post` takes what the page is to do: show the input
// window ({type: 'input', caption, prompt, preset}) or the message box ({type: 'note', caption,
// text, flags}), then the end ({type: 'exit', code} or {type: 'crash', message}); `print` takes
// what it writes (see wasiImports). Returns the function that hands the program the page's
// answer: the entered text, or the button pressed.
export async function runProgram(module, post, print = toConsole) {
    let instance = null;
    let area = 0; // the suspend area of the current suspension
    let request = null; // what the suspended program asked the page for
    let answer = null;
    const memory = () => instance.exports.memory;
    const text = (address) => decodeAnsi(memory(), address);

    // A requester call: on the way in, keeps the request and unwinds the program; on the way
    // back, when the page's answer rewinds it, stops the rewind and returns finish(answer).
    function suspendFor(message, finish) {
        const exports = instance.exports;
        if (exports.asyncify_get_state() === Rewinding) {
            exports.asyncify_stop_rewind();
            return finish(answer);
        }
        request = message;
        area = exports.suspend_area();
        exports.asyncify_start_unwind(area);
        return 0;
    }

    const primteiler = {
        tick_count: tickCount,
        input_requester: (caption, prompt, preset, result, capacity) =>
            suspendFor(
                { type: 'input', caption: text(caption), prompt: text(prompt),
                  preset: text(preset) },
                (entered) => {
                    const bytes = encodeAnsi(String(entered), capacity >>> 0);
                    new Uint8Array(memory().buffer).set(bytes, result);
                    return bytes.length;
                }),
        note_requester: (caption, note, flags) =>
            suspendFor(
                { type: 'note', caption: text(caption), text: text(note), flags: flags >>> 0 },
                (button) => button | 0),
    };
    instance = await WebAssembly.instantiate(module, {
        wasi_snapshot_preview1: wasiImports(WebAssembly.Module.imports(module), memory, print),
        primteiler,
    });

    // Runs the program until it suspends or ends. A rewind enters it through _start again.
    function resume() {
        try {
            instance.exports._start();
        } catch (end) {
            if (end instanceof ProgramExit) post({ type: 'exit', code: end.code });
            else post({ type: 'crash', message: String(end?.message ?? end) });
            return;
        }
        if (instance.exports.asyncify_get_state() === Unwinding) {
            instance.exports.asyncify_stop_unwind();
            post(request);
            return;
        }
        post({ type: 'exit', code: 0 }); // main returned 0, which ends with no proc_exit
    }

    resume();
    return (value) => {
        answer = value;
        instance.exports.asyncify_start_rewind(area);
        resume();
    };
}

// V8 runs every function first in its baseline code and keeps a call in the code it began with
// to the end: a computation that runs once would run unoptimized for all its seconds (the
// divisors take half as long again). So before the user's run, a scratch run of the program in
// an instance of its own, its requests answered here and never shown, makes both computations
// hot, and V8 optimizes them for every instance of the module: 2^15 * 65521 costs 65535 trial
// divisions and 65535 divisor products, some milliseconds. Its report is dropped, and what it
// writes (the user's run writes it again); a fault it meets is the program's and is shown as
// the run's.
async function warmUp(module) {
    let request = null, end = null;
    const answer = await runProgram(module, (message) => {
        if (message.type === 'input' || message.type === 'note') request = message;
        else end = message;
    }, () => {});
    while (request) { // each answer runs the program on to its next request or its end
        const asked = request;
        request = null;
        answer(asked.type === 'input' ? '2146992128' : 1);
    }
    if (end?.type === 'crash') throw new Error(end.message);
}

// As the page's worker: the page sends the compiled module, then each answer. Whatever fails
// here ends the run as a crash, so the page never waits for a request that cannot come.
if (typeof WorkerGlobalScope !== 'undefined' && globalThis instanceof WorkerGlobalScope) {
    let answer = null;
    globalThis.onmessage = async ({ data }) => {
        try {
            if (data.module) {
                await warmUp(data.module);
                answer = await runProgram(data.module, (message) => postMessage(message));
            } else {
                answer(data.answer);
            }
        } catch (error) {
            postMessage({ type: 'crash', message: String(error?.message ?? error) });
        }
    };
}
