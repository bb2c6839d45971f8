// The worker's own conversions: the tick cut and the program's windows-1252 texts.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { cutTicks, decodeAnsi, encodeAnsi, tickCount } from '../../ui/web/worker.mjs';

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
