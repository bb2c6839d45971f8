// The worker's own conversions (the tick cut, the program's windows-1252 texts) and the system
// calls it serves.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { cutTicks, decodeAnsi, encodeAnsi, tickCount, wasiImports } from '../../ui/web/worker.mjs';

test('the tick count is the milliseconds cut to 32 bits', async () => {
    const cases = [
        [0, 0],
        [99.9, 99],
        [2 ** 32 - 0.5, 2 ** 32 - 1],
        [2 ** 32, 0], // the wrap
        [2 ** 32 + 5.25, 5],
        [2 ** 40 + 7, 7],
    ];
    for (const [ms, ticks] of cases) assert.equal(cutTicks(ms), ticks, `${ms} ms`);
    const start = tickCount();
    await new Promise((resolve) => setTimeout(resolve, 20));
    assert.ok(tickCount() - start >= 19, 'it counts');
});

test('entered text becomes windows-1252 bytes, cut at the room given', () => {
    const cases = [
        ['360', 9999, [0x33, 0x36, 0x30]],
        ['Grüße', 9999, [0x47, 0x72, 0xfc, 0xdf, 0x65]],
        ['5 €', 9999, [0x35, 0x20, 0x80]],
        ['™Ÿ\u00a0', 9999, [0x99, 0x9f, 0xa0]], // the last of windows-1252's own, and after
        ['日本', 9999, [0x3f, 0x3f]], // no byte for them: "?" each
        ['😀1', 9999, [0x3f, 0x31]], // one character, though two UTF-16 units
        ['12345', 3, [0x31, 0x32, 0x33]],
        ['😀😀😀', 2, [0x3f, 0x3f]],
        ['', 9999, []],
    ];
    for (const [text, capacity, bytes] of cases)
        assert.deepEqual([...encodeAnsi(text, capacity)], bytes, `${text} in ${capacity}`);
});

test('program texts are read as windows-1252 up to their NUL', () => {
    const memory = { buffer: new ArrayBuffer(16) };
    new Uint8Array(memory.buffer).set([0x47, 0x72, 0xfc, 0xdf, 0x80, 0x99, 0x9f, 0xa0, 0, 0x41, 0],
                                      4);
    assert.equal(decodeAnsi(memory, 4), 'Grüß€™Ÿ\u00a0');
    assert.equal(decodeAnsi(memory, 12), '');
    assert.equal(decodeAnsi(memory, 0), null);
});

test('a write is its pieces, a line at a time; another call fails', () => {
    const memory = { buffer: new ArrayBuffer(64) };
    const view = new DataView(memory.buffer);
    new Uint8Array(memory.buffer).set([0x47, 0x72, 0xfc, 0xdf, 0x65, 0x0a], 32); // "Grüße\n"
    [32, 2, 34, 4].forEach((value, i) => view.setUint32(4 * i, value, true)); // "Gr" + "üße\n"
    const printed = [];
    const calls = wasiImports([{ module: 'wasi_snapshot_preview1', name: 'fd_write' },
                               { module: 'wasi_snapshot_preview1', name: 'path_open' }],
                              () => memory, (...line) => printed.push(line));
    const cases = [
        // fd, pieces, what it returns, what it printed, bytes written
        [1, 2, 0, [[1, 'Grüße']], 6],
        [2, 1, 0, [[2, 'Gr']], 2],
        [3, 2, 8, [], 0], // a file the program never opened
    ];
    for (const [fd, count, code, lines, written] of cases) {
        printed.length = 0;
        view.setUint32(24, 0, true);
        assert.equal(calls.fd_write(fd, 0, count, 24), code, `fd ${fd}`);
        assert.deepEqual([printed, view.getUint32(24, true)], [lines, written], `fd ${fd}`);
    }
    assert.equal(calls.path_open(), 52, 'ENOSYS');
});
