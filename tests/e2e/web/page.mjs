// The page end to end in one browser engine at one viewport, served on loopback: one road per
// behaviour, with real keys and clicks (taps, on a phone), the same in every engine and at every
// width. Every road ends with what the engine and the page reported, which must be nothing, and
// with every file the page fetched, each once and from its own origin.
//
//   node page.mjs <site folder> <chromium|firefox|webkit> [<viewport>]

import assert from 'node:assert/strict';
import {cpSync, mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {pathToFileURL} from 'node:url';

import {VIEWPORTS, engine, redigest} from './browser.mjs';

const [site, engineName, viewportName = 'desktop'] = process.argv.slice(2);
const viewport = VIEWPORTS[viewportName];
assert.ok(viewport, `no viewport "${viewportName}": one of ${Object.keys(VIEWPORTS).join(', ')}`);
const browser = await engine(engineName);
const {server, origin} = await browser.serve(site);
let failures = 0;

async function waitFor(tab, condition, arg) {
    for (let tries = 0; !(await tab.evaluate(condition, arg)); ++tries) {
        assert.ok(tries < 200, `waited 10 s for ${condition}`);
        await new Promise((done) => setTimeout(done, 50));
    }
}
const ready = (tab) => waitFor(tab, () => performance.getEntriesByName('melkora-ready').length > 0);
const fetched = (tab) => tab.evaluate(() => performance.getEntriesByType('resource')
                                          .map((entry) => entry.name));

// A road on the page `at` serves, or the page file `at` names; one that starts before the module
// is ready says so (`early`), and one where the module must fail names what the engine and the
// page then report.
async function road(name, locale, walk, {at = origin, early = false, failing = null} = {}) {
    const tab = await browser.tab(locale, viewport);
    try {
        const page = at.endsWith('.html') ? at : at + '/';
        await tab.goto(page);
        if (!failing && !early) {
            await ready(tab);
        }
        await walk(tab);
        const files = await fetched(tab);
        const folder = page.slice(0, page.lastIndexOf('/') + 1);
        assert.deepEqual(files.filter((url) => !url.startsWith(folder)), [], 'foreign');
        if (!failing) {
            assert.deepEqual(files.filter((url, i) => files.indexOf(url) !== i), [], 'twice');
        }
        assert.deepEqual((await tab.errors()).filter((error) => !failing?.test(error)), []);
        console.log(`PASS ${engineName} ${viewportName}: ${name}`);
    } catch (error) {
        ++failures;
        console.log(`FAIL ${engineName} ${viewportName}: ${name}\n${error.stack}`);
    } finally {
        await tab.close();
    }
}

// "Alt+c": every key down in turn, then up in the reverse order.
async function press(tab, chord) {
    const keys = chord.split('+');
    for (const key of keys) {
        await tab.down(key);
    }
    for (const key of keys.reverse()) {
        await tab.up(key);
    }
}
const fields = (tab, names) =>
    tab.evaluate((names) => names.map((name) => document.getElementById(name).value), names);
const focused = (tab) => tab.evaluate(() => document.activeElement.id);
const focus = (tab, id) => tab.evaluate((id) => document.getElementById(id).focus(), id);
async function type(tab, values) {
    await tab.evaluate((values) => {
        for (const [name, value] of Object.entries(values)) {
            const field = document.getElementById(name);
            field.value = value;
            field.dispatchEvent(new Event('input', {bubbles: true}));
        }
    }, values);
}
// A click of the mouse, or a tap, at the middle of the element `selector` names, or of the
// innermost one that shows `text`, wherever the window lets it through; scrolled to first.
async function click(tab, {selector, text}, count = 1) {
    const {x, y} = await tab.evaluate(({selector, text}) => {
        const element = selector ? document.querySelector(selector)
                                 : [...document.querySelectorAll('body *')].reverse()
                                       .find((element) => element.textContent === text);
        element.scrollIntoView({block: 'nearest', inline: 'nearest'});
        const box = element.getBoundingClientRect();
        return {x: box.left + box.width / 2, y: box.top + box.height / 2};
    }, {selector, text});
    await tab.click(x, y, count);
}
// A click on the credit line calls window.open once.
async function opensOnce(tab) {
    await tab.evaluate(() => {
        window.opened = 0;
        window.open = () => { ++window.opened; };
    });
    await click(tab, {text: 'by Melkora Software'});
    assert.equal(await tab.evaluate(() => window.opened), 1);
}
const isOpen = (tab) => tab.evaluate(() => document.getElementById('message').open);
const text = (tab, id) => tab.evaluate((id) => document.getElementById(id).textContent, id);
const worked = {a: '1', b: '2', c: '3', d: '4', e: '5', f: '6'};

// The box: its title and text, modal, and the focus back where it was after OK.
async function report(tab, pressIn, expected) {
    await focus(tab, pressIn);
    await press(tab, 'Enter');
    assert.ok(await isOpen(tab), 'the box is open');
    assert.equal(await text(tab, 'message-title'), 'Melkora');
    assert.match(await text(tab, 'message-text'), expected);
    for (let i = 0; i < 12; ++i) {
        await press(tab, 'Tab');
        assert.ok(!(await tab.evaluate(() => document.activeElement.closest('#window'))),
                  'nothing behind the box takes the focus');
    }
    await closesTo(tab, pressIn, 'OK');
}

// OK or Escape closes the box and gives the focus back to `back` at once; a field the user picks
// in the same moment keeps it, also after the box's close event, which comes a task later.
async function closesTo(tab, back, how) {
    const next = back === 'a' ? 'b' : 'a';
    await tab.evaluate(({next, how}) => {
        const box = document.getElementById('message');
        const closing = how === 'OK' ? [document.getElementById('message-ok'), 'click']
                                     : [box, 'cancel'];
        window.seen = {closeEvents: 0};
        closing[0].addEventListener(closing[1], () => {
            window.seen.focusAfter = document.activeElement.id;
            document.getElementById(next).focus();
        }, {once: true});
        box.addEventListener('close', () => ++window.seen.closeEvents, {once: true});
    }, {next, how});
    await (how === 'OK' ? click(tab, {selector: '#message-ok'}) : press(tab, how));
    await waitFor(tab, () => window.seen.closeEvents === 1);
    assert.ok(!(await isOpen(tab)), `${how} closes the box`);
    assert.equal(await tab.evaluate(() => window.seen.focusAfter), back, `${how} gives it back`);
    assert.equal(await focused(tab), next, 'the focus stays where the user put it');
}

await road('the window as it opens, and Tab through it', 'en-US', async (tab) => {
    assert.deepEqual(await tab.evaluate(() => [
        document.title, document.querySelector('meta[name="application-name"]').content,
        document.querySelector('meta[name="version"]').content]), ['Melkora', 'Melkora', '1.01']);
    const order = [await focused(tab)];
    for (let i = 0; i < 9; ++i) {
        await press(tab, 'Tab');
        order.push(await focused(tab));
    }
    assert.deepEqual(order, ['a', 'b', 'c', 'd', 'e', 'f', 'x', 'y', 'z', 'cmdCalculate']);
    // After the last stop the browser has the focus: its own controls, or round to the first
    // field where it shows none (MiniBrowser under automation).
    await press(tab, 'Tab');
    assert.ok(['', 'a'].includes(await focused(tab)), 'no stop after the button');
});

// Where the page puts the window and its controls, in the viewport's CSS pixels.
const geometry = (tab) => tab.evaluate(() => {
    const rect = (element) => {
        const {left, top, right, bottom, width, height} = element.getBoundingClientRect();
        return {left, top, right, bottom, width, height};
    };
    const surface = document.getElementById('window');
    const link = [...surface.children].find((element) => element.textContent ===
                                                         'by Melkora Software');
    return {
        width: document.documentElement.clientWidth,
        scrolled: document.documentElement.scrollWidth,
        arrangement: getComputedStyle(surface).getPropertyValue('--arrangement').trim(),
        coarse: matchMedia('(pointer: coarse)').matches,
        window: rect(surface),
        link: rect(link),
        controls: Object.fromEntries([...surface.querySelectorAll('input, button')].map(
            (control) => [control.id, {...rect(control),
                                       font: parseFloat(getComputedStyle(control).fontSize)}])),
    };
});
const arrangementIs = (tab, shown) => waitFor(tab, (shown) => getComputedStyle(
    document.getElementById('window')).getPropertyValue('--arrangement').trim() === shown, shown);

await road('the window fits the viewport, and under a finger every target is big enough', 'en-US',
           async (tab) => {
    const seen = await geometry(tab);
    assert.equal(await tab.evaluate(() => visualViewport.scale), 1, 'shown at full size');
    assert.ok(seen.scrolled <= seen.width, `${seen.scrolled} px wide in ${seen.width}`);
    assert.equal(seen.arrangement, seen.width < 712 ? '1' : '0', `at ${seen.width} px`);
    for (const [id, box] of Object.entries({...seen.controls, link: seen.link})) {
        assert.ok(box.left >= 0 && box.right <= seen.width, `${id} lies within the width`);
    }
    if (seen.arrangement === '0') {
        // The window's own arrangement, as on the desktop: its size and its corners' controls.
        const at = (box) => [box.left - seen.window.left, box.top - seen.window.top, box.width,
                             box.height].map(Math.round);
        assert.deepEqual(at(seen.window), [0, 0, 680, 371]);
        assert.deepEqual(at(seen.controls.a), [32, 72, 65, 49]);
        assert.deepEqual(at(seen.controls.f), [576, 72, 57, 49]);
        assert.deepEqual(at(seen.controls.cmdCalculate), [424, 152, 193, seen.coarse ? 44 : 41]);
        assert.deepEqual(at(seen.link), [464, 336, 209, 33]);
    }
    assert.equal(seen.coarse, Boolean(viewport.touch));
    if (seen.coarse) {
        for (const [id, box] of Object.entries(seen.controls)) {
            assert.ok(box.width >= 44 && box.height >= 44, `${id}: ${box.width} x ${box.height}`);
            assert.ok(box.font >= 16, `${id}'s text is ${box.font} px`);
        }
        assert.ok(seen.link.height >= 24, `the credit line is ${seen.link.height} px tall`);
        await press(tab, 'Enter');
        const ok = await tab.evaluate(() => {
            const box = document.getElementById('message-ok').getBoundingClientRect();
            return [box.width, box.height];
        });
        assert.ok(ok[0] >= 44 && ok[1] >= 44, `the report's OK is ${ok.join(' x ')}`);
        await click(tab, {selector: '#message-ok'});
    }
});

// The other arrangement and back, with text, a selection, the focus and an open report; the
// credit line then answers where it now stands.
await road('turning the phone or resizing the window loses nothing', 'en-US', async (tab) => {
    const own = await geometry(tab);
    const other = own.arrangement === '0' ? {width: 320, height: 640, arrangement: '1'}
                                          : {width: 1280, height: 800, arrangement: '0'};
    await type(tab, {...worked, a: '1.25', c: 'abc'});
    const state = () => tab.evaluate(() => {
        const a = document.getElementById('a');
        return [document.activeElement.id, a.selectionStart, a.selectionEnd,
                document.getElementById('message').open,
                ['a', 'b', 'c', 'd', 'e', 'f'].map((name) => document.getElementById(name).value)];
    });
    await tab.evaluate(() => {
        document.getElementById('a').focus();
        document.getElementById('a').setSelectionRange(1, 3);
    });
    await press(tab, 'Enter');
    const values = ['1.25', '2', 'abc', '4', '5', '6'];
    assert.deepEqual(await state(), ['message-ok', 1, 3, true, values]);
    await tab.resize(other.width, other.height);
    await arrangementIs(tab, other.arrangement);
    assert.deepEqual(await state(), ['message-ok', 1, 3, true, values], 'the report stays open');
    await click(tab, {selector: '#message-ok'});
    assert.deepEqual(await state(), ['a', 1, 3, false, values]);
    await tab.resize(viewport.width, viewport.height);
    await arrangementIs(tab, own.arrangement);
    assert.deepEqual(await state(), ['a', 1, 3, false, values]);
    await tab.resize(other.width, other.height);
    await arrangementIs(tab, other.arrangement);
    await opensOnce(tab);
});

// A phone's keyboard takes half the screen: a short viewport is what is left of it.
await road('after a run the results are in view, and the focus stays', 'en-US', async (tab) => {
    await type(tab, worked);
    await tab.resize(viewport.width, 240);
    await tab.evaluate(() => {
        window.scrollTo(0, 0);
        document.getElementById('a').focus();
    });
    await press(tab, 'Enter');
    assert.deepEqual(await fields(tab, ['x', 'y', 'z']), ['-3', '6', '-3']);
    const [top, bottom, seen] = await tab.evaluate(() => {
        const box = document.getElementById('x').getBoundingClientRect();
        return [box.top, box.bottom, visualViewport.height];
    });
    assert.ok(top >= 0 && bottom <= seen, `x at ${top} to ${bottom} of ${seen}`);
    assert.equal(await focused(tab), 'a');
});

await road('Calculate by Enter, Enter in a locked field, Alt+C, Space and a click', 'en-US',
           async (tab) => {
    await type(tab, worked);
    await focus(tab, 'f');
    await press(tab, 'Enter');
    assert.deepEqual(await fields(tab, ['x', 'y', 'z']), ['-3', '6', '-3']);
    assert.equal(await focused(tab), 'f');

    const runs = [
        ['x', 'Enter', {a: '2'}, ['-3', '0', '2']],
        ['c', 'Alt+c', {a: '1', c: '4'}, ['-8', '10', '-3']],
        ['cmdCalculate', 'Space', {c: '0'}, ['12', '-6', '-3']],
    ];
    for (const [where, key, change, expected] of runs) {
        await type(tab, change);
        await focus(tab, where);
        await press(tab, key);
        assert.deepEqual(await fields(tab, ['x', 'y', 'z']), expected, `${key} in ${where}`);
        assert.equal(await focused(tab), where, `${key} leaves the focus in ${where}`);
    }
    await type(tab, {b: '3'});
    await click(tab, {selector: '#cmdCalculate'});
    assert.deepEqual(await fields(tab, ['x', 'y', 'z']), ['18', '-6', '-7'], 'a click');
});

// What a screen reader is given, from the engine's accessibility tree where the engine lets it
// be read (Chromium), from the page elsewhere. The tree follows the page a moment later.
await road('the results reach a screen reader, and the focus stays', 'en-US', async (tab) => {
    const status = async (expected) => {
        for (let tries = 0; ; ++tries) {
            const seen = await tab.status();
            if (seen.text === expected || tries === 20) {
                return seen;
            }
            await new Promise((done) => setTimeout(done, 50));
        }
    };
    assert.deepEqual(await status(''), {text: '', live: 'polite', atomic: true});
    await type(tab, worked);
    await tab.evaluate(() => {
        window.heard = [];
        new MutationObserver(() => window.heard.push(document.getElementById('status').textContent))
            .observe(document.getElementById('status'), {childList: true, characterData: true});
    });
    await focus(tab, 'f');
    await press(tab, 'Enter');
    const heard = 'Cross product: -3, 6, -3';
    assert.deepEqual(await status(heard), {text: heard, live: 'polite', atomic: true});
    assert.equal(await focused(tab), 'f');
    await press(tab, 'Enter'); // the same again is announced again
    await waitFor(tab, () => window.heard.length === 3);
    assert.deepEqual(await tab.evaluate(() => window.heard), [heard, '', heard]);
});

// What Control+C copies is the selection of a copy event that nothing cancelled; the engines let
// a page read the clipboard only after a prompt of their own.
await road('the locked fields refuse edits and can be copied from', 'en-US', async (tab) => {
    await type(tab, worked);
    await press(tab, 'Enter');
    await tab.evaluate(() => {
        window.copied = [];
        addEventListener('copy', (event) => {
            const field = document.activeElement;
            window.copied.push([field.value.slice(field.selectionStart, field.selectionEnd),
                                event.defaultPrevented]);
        });
    });
    await focus(tab, 'y');
    await press(tab, 'Control+a');
    await press(tab, 'Control+c');
    assert.deepEqual(await tab.evaluate(() => window.copied), [['6', false]]);
    for (const key of ['7', 'Backspace', 'Delete', 'Control+x', 'Control+v']) {
        await press(tab, key);
    }
    assert.deepEqual(await fields(tab, ['y']), ['6']);
});

await road('a stop point and an overflow are reported, huge texts too', 'en-US', async (tab) => {
    await type(tab, {...worked, c: 'abc'});
    await report(tab, 'e', /^Type mismatch: field c holds "abc", which is not a number\.$/);
    assert.deepEqual(await fields(tab, ['x', 'y', 'z']), ['', '', ''], 'nothing is written');
    await type(tab, {...worked, b: '1e200', f: '1e200'});
    await report(tab, 'b', /^Overflow: the result for x is too large/);
    await type(tab, {...worked, a: '9'.repeat(100000)});
    await report(tab, 'a', /^Overflow: field a holds "9{10,}/);
    // A paste that only starts as a number is none, however large that number.
    await type(tab, {...worked, a: '9'.repeat(100000) + 'x'});
    await report(tab, 'a', /^Type mismatch: field a holds "9{10,}.*which is not a number\.$/);
    // Escape closes the box as OK does.
    await focus(tab, 'a');
    await press(tab, 'Enter');
    assert.ok(await isOpen(tab), 'the box is open again');
    await closesTo(tab, 'a', 'Escape');
});

// The labels let the mouse through to the window's surface, which reports it.
await road('the credit line opens the home page, once per click', 'en-US', async (tab) => {
    await tab.evaluate(() => {
        window.opened = [];
        window.open = (...args) => {
            window.opened.push(args);
            return null;
        };
    });
    await focus(tab, 'd');
    const link = {text: 'by Melkora Software'};
    assert.equal(await tab.evaluate(() => getComputedStyle(document.getElementById('window'))
                                       .cursor), 'default');
    await click(tab, link);
    await click(tab, link, 2);
    await click(tab, {text: 'Second Generation!'});
    assert.equal(await tab.evaluate(() => visualViewport.scale), 1, 'a double tap zooms nothing');
    assert.deepEqual(await tab.evaluate(() => window.opened),
                     [['http://www.melkora.org/', '_blank', 'noopener'],
                      ['http://www.melkora.org/', '_blank', 'noopener']]);
    assert.equal(await focused(tab), 'd', 'the label takes no focus');
});

await road('a page without window.open says so, and the next click looks again', 'en-US',
           async (tab) => {
    await tab.evaluate(() => { window.open = undefined; });
    await click(tab, {text: 'by Melkora Software'});
    assert.match(await text(tab, 'message-text'), /Function not found: window\.open/);
    await click(tab, {selector: '#message-ok'});
    await opensOnce(tab);
});

await road('a German browser reads decimal commas and fractions exactly, and writes them back',
           'de-DE', async (tab) => {
    await type(tab, {a: '1,1', b: '2,2', c: '3,3', d: '2', e: '4', f: '6'});
    await press(tab, 'Enter');
    assert.equal(await text(tab, 'message-text'), 'they are parallel!!');
    await click(tab, {selector: '#message-ok'});
    assert.deepEqual(await fields(tab, ['x', 'y', 'z']), ['0', '0', '0']);
    await type(tab, {a: '1/2', b: '1/3', c: '1/4', d: '1', e: '1', f: '2,5/2,5'});
    await press(tab, 'Enter');
    assert.deepEqual(await fields(tab, ['x', 'y', 'z']), ['1/12', '-0,25', '1/6']);
});

await road('the second visit works with the network gone', 'en-US', async (tab) => {
    const underWorker = () => navigator.serviceWorker.ready.then(() => true);
    await tab.evaluate(underWorker);
    await tab.reload(); // now under the worker, and left only once it has the module
    await tab.evaluate(underWorker);
    await ready(tab);
    await new Promise((done) => {
        server.close(done);
        server.closeAllConnections();
    });
    await tab.reload();
    await ready(tab);
    await type(tab, worked);
    await press(tab, 'Enter');
    assert.deepEqual(await fields(tab, ['x', 'y', 'z']), ['-3', '6', '-3']);
});

// New versions on one origin, the host caching every file for ten minutes: N+1 reaches the open
// page as a notice and is the page, whole, after the next reload; N+2, whose module arrives cut
// short, fails its install and leaves N+1 working, then installs once the host is mended.
// (WebKit's road serves a copy of the site, which a new version could not reach.)
if (viewportName === 'desktop' && engineName !== 'webkit') {
    const folder = mkdtempSync(join(tmpdir(), 'melkora-versions-'));
    const version = (mark) => {
        cpSync(site, folder, {recursive: true, force: true});
        const edit = (name, from, to) => writeFileSync(
            join(folder, name), readFileSync(join(folder, name), 'utf8').replace(from, to));
        edit('index.html', '</head>', `<meta name="road-version" content="${mark}">\n</head>`);
        edit('melkora.js', /$/, `\nwindow.roadVersion = '${mark}';\n`);
        redigest(folder);
    };
    let cut = false;
    const host = await browser.serve(folder, {
        before: (path, response) => {
            response.setHeader('Cache-Control', 'max-age=600');
            if (!cut || path !== '/melkora.wasm') {
                return false;
            }
            const bytes = readFileSync(join(folder, path));
            response.writeHead(200, {'Content-Type': 'application/wasm'});
            response.end(bytes.subarray(0, bytes.length >> 1)); // chunked: no length to fall short of
            return true;
        },
    });
    // The page's version, its page and its script; whether it says a new one is ready.
    const shown = (tab) => tab.evaluate(() => [
        document.querySelector('meta[name=road-version]').content, window.roadVersion,
        !document.getElementById('updated').hidden]);
    // The worker the next update check brings: 'activated', or 'redundant' where it failed.
    const update = (tab) => tab.evaluate(async () => {
        const registration = await navigator.serviceWorker.getRegistration();
        await registration.update();
        const worker = registration.installing || registration.waiting || registration.active;
        const settled = () => ['activated', 'redundant'].includes(worker.state);
        await new Promise((done) => (settled() ? done() : worker.addEventListener(
            'statechange', () => settled() && done())));
        return worker.state;
    });
    version('N');
    await road('a new version reaches an open page whole, and a broken one never does', 'en-US',
               async (tab) => {
        await tab.evaluate(() => navigator.serviceWorker.ready.then(() => true));
        await tab.reload();
        await ready(tab);
        version('N+1');
        assert.equal(await update(tab), 'activated');
        await waitFor(tab, () => !document.getElementById('updated').hidden);
        assert.deepEqual(await shown(tab), ['N', 'N', true]);
        await tab.reload();
        await ready(tab);
        assert.deepEqual(await shown(tab), ['N+1', 'N+1', false]);
        version('N+2');
        cut = true;
        assert.equal(await update(tab), 'redundant');
        await tab.reload();
        await ready(tab);
        assert.deepEqual(await shown(tab), ['N+1', 'N+1', false]);
        await type(tab, worked);
        await press(tab, 'Enter');
        assert.deepEqual(await fields(tab, ['x', 'y', 'z']), ['-3', '6', '-3']);
        cut = false;
        assert.equal(await update(tab), 'activated');
        await tab.reload();
        await ready(tab);
        assert.deepEqual(await shown(tab), ['N+2', 'N+2', false]);
    }, {at: host.origin});
    host.server.close();
    rmSync(folder, {recursive: true, force: true});
}

// The module held back until the road lets it come: what the user does meanwhile is not lost.
let arrive;
const arrived = new Promise((done) => { arrive = done; });
const slow = await browser.serve(site, {
    before: (path) => path === '/melkora.wasm' ? arrived.then(() => false) : false,
});
await road('typing before the module has started keeps its field and its focus, and Enter ' +
           'calculates once it has', 'en-US', async (tab) => {
    await waitFor(tab, () => typeof Module === 'object');
    await click(tab, {selector: '#c'});
    await type(tab, worked);
    await press(tab, 'Enter');
    arrive();
    await ready(tab);
    await waitFor(tab, () => document.getElementById('z').value !== '');
    assert.deepEqual(await fields(tab, ['x', 'y', 'z']), ['-3', '6', '-3']);
    assert.equal(await focused(tab), 'c');
}, {at: slow.origin, early: true});
slow.server.close();

// The page where the module cannot start: a browser without WebAssembly, a first visit whose
// download of the module fails, a page opened from a file (Chromium's case: Firefox lets such a
// page load its module, and it calculates). The window is not the viewport's business here.
const variant = (edit) => {
    const folder = mkdtempSync(join(tmpdir(), 'melkora-page-'));
    cpSync(site, folder, {recursive: true});
    edit(folder);
    return folder;
};
// The connection reset as the module is asked for: the download fails before it has begun.
const dropped = {
    before: (path, response) => {
        if (path !== '/melkora.wasm') {
            return false;
        }
        response.socket.resetAndDestroy();
        return true;
    },
};
const broken = viewportName !== 'desktop' ? [] : [
    ['a browser without WebAssembly', /WebAssembly/, variant((folder) => {
        writeFileSync(join(folder, 'no-webassembly.js'), 'delete globalThis.WebAssembly;\n');
        const page = join(folder, 'index.html');
        writeFileSync(page, readFileSync(page, 'utf8').replace(
            '<script src="melkora.js"', '<script src="no-webassembly.js"></script>\n$&'));
    })],
    ['a module that is not found', /reload the page/, variant((folder) => {
        rmSync(join(folder, 'melkora.wasm'));
    })],
    ['a connection reset as the module is asked for', /reload the page/, variant(() => {}),
     dropped],
    ...(engineName !== 'chromium' ? [] : [
        ['a page opened from a file', /from a file\. Open it from a web server/, variant(() => {}), 'file']]),
];
for (const [what, says, folder, how] of broken) {
    const {server, origin: served} = await browser.serve(folder, how === 'file' ? {} : how);
    const at = how === 'file' ? pathToFileURL(join(folder, 'index.html')).href : served;
    await road(`on ${what} the page says it cannot calculate, and Calculate says it again`,
               'en-US', async (tab) => {
        await waitFor(tab, () => !document.getElementById('unavailable').hidden);
        const notice = await text(tab, 'unavailable');
        assert.match(notice, says);
        await type(tab, worked);
        for (const [where, how, closing] of [['c', 'Enter', 'OK'], ['a', 'Alt+c', 'Escape'],
                                             ['cmdCalculate', 'click', 'OK']]) {
            await focus(tab, where);
            await (how === 'click' ? click(tab, {selector: '#cmdCalculate'}) : press(tab, how));
            assert.ok(await isOpen(tab), `${how} in ${where} says it`);
            assert.equal(await text(tab, 'message-text'), notice);
            await closesTo(tab, where, closing);
        }
        assert.deepEqual(await fields(tab, ['a', 'b', 'c', 'd', 'e', 'f', 'x', 'y', 'z']),
                         ['1', '2', '3', '4', '5', '6', '', '', '']);
    }, {at, failing: /abort|wasm|webassembly|404|not found|failed|falling back|cors|fetch/i});
    server.close();
    rmSync(folder, {recursive: true, force: true});
}

await browser.close();
process.exit(failures === 0 ? 0 : 1);
