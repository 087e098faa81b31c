// WebKitGTK's MiniBrowser through WebKitWebDriver, over classic WebDriver: the few commands the
// page's road and benchmark use. MiniBrowser needs a display (Xvfb), and takes its language from
// LANG, which must name a locale the C library has: the locales are compiled into a folder of
// their own (LOCPATH), so that nothing is installed for them.

import {spawn, execFileSync} from 'node:child_process';
import {existsSync, mkdirSync, mkdtempSync, rmSync} from 'node:fs';
import {createServer} from 'node:net';
import {tmpdir} from 'node:os';
import {join} from 'node:path';

export const MINIBROWSER = '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser';

// The keys WebDriver names by code points of its own; any other key is the character it types.
const KEYS = {
    Enter: '\uE007', Tab: '\uE004', Space: '\uE00D', Backspace: '\uE003', Delete: '\uE017',
    Shift: '\uE008', Control: '\uE009', Alt: '\uE00A', Escape: '\uE00C',
};
export const keyValue = (key) => KEYS[key] ?? key;

const freePort = () => new Promise((done, fail) => {
    const probe = createServer().once('error', fail).listen(0, '127.0.0.1', () => {
        const {port} = probe.address();
        probe.close(() => done(port));
    });
});

// "de-DE" -> a folder holding de_DE.UTF-8, compiled once per run.
function localeFolder(home, locale) {
    const name = locale.replace('-', '_');
    const folder = join(home, 'locales');
    if (!existsSync(join(folder, `${name}.UTF-8`))) {
        mkdirSync(folder, {recursive: true});
        execFileSync('localedef', ['-i', name, '-f', 'UTF-8', join(folder, `${name}.UTF-8`)]);
    }
    return {LANG: `${name}.UTF-8`, LANGUAGE: name, LOCPATH: folder};
}

export class WebKit {
    // One WebKitWebDriver, with a home of its own (so no profile, cache or service worker
    // outlives the run), for the language `locale`.
    static async start(home, locale) {
        const port = await freePort();
        const driver = spawn('/usr/bin/WebKitWebDriver', [`--port=${port}`], {
            stdio: ['ignore', 'ignore', 'pipe'],
            env: {...process.env, ...localeFolder(home, locale), HOME: home,
                  XDG_CACHE_HOME: join(home, 'cache'), XDG_DATA_HOME: join(home, 'data')},
        });
        // A run that ends early leaves no driver behind.
        const kill = () => driver.kill();
        process.once('exit', kill);
        driver.once('exit', () => process.off('exit', kill));
        const webkit = new WebKit(driver, `http://127.0.0.1:${port}`);
        // Read, or the driver stops once the pipe is full; the last of it explains a failure.
        driver.stderr.on('data', (data) => {
            webkit.log = (webkit.log + data).slice(-4000);
        });
        for (let tries = 0; ; ++tries) {
            try {
                await webkit.command('GET', '/status');
                return webkit;
            } catch (error) {
                if (tries === 100) {
                    driver.kill();
                    throw error;
                }
                await new Promise((done) => setTimeout(done, 50));
            }
        }
    }

    constructor(driver, address) {
        this.driver = driver;
        this.address = address;
        this.log = '';
    }

    async command(method, path, body, seconds = 60) {
        const response = await fetch(this.address + path, {
            method,
            headers: {'Content-Type': 'application/json'},
            body: body === undefined ? undefined : JSON.stringify(body),
            signal: AbortSignal.timeout(seconds * 1000),
        });
        const {value} = await response.json();
        if (value && value.error) {
            throw new Error(`WebDriver ${path}: ${value.error}: ${value.message}\n${this.log}`);
        }
        return value;
    }

    // A new MiniBrowser with a viewport of `width` by `height` px.
    async session(width, height) {
        const {sessionId} = await this.command('POST', '/session', {capabilities: {alwaysMatch: {
            'webkitgtk:browserOptions': {binary: MINIBROWSER, args: ['--automation']},
        }}}, 20);
        const session = new Session(this, `/session/${sessionId}`);
        await session.resize(width, height);
        return session;
    }

    stop() {
        return new Promise((done) => {
            this.driver.once('exit', done);
            this.driver.kill();
        });
    }
}

export class Session {
    constructor(webkit, path) {
        this.webkit = webkit;
        this.path = path;
    }

    command(method, path, body) {
        return this.webkit.command(method, this.path + path, body);
    }

    goto(url) {
        return this.command('POST', '/url', {url});
    }

    // The window at a viewport of `width` by `height` px: its header bar is 38 px more. GTK keeps
    // it at least about 450 px wide.
    resize(width, height) {
        return this.command('POST', '/window/rect', {x: 0, y: 0, width, height: height + 38});
    }

    reload() {
        return this.command('POST', '/refresh', {});
    }

    // `fn` is run in the page with `arg`; it may return a promise.
    evaluate(fn, arg) {
        return this.command('POST', '/execute/async', {
            script: `const done = arguments[1];
                     Promise.resolve().then(() => (${fn})(arguments[0])).then(done,
                         (error) => done({__error: String(error && error.stack || error)}));`,
            args: [arg ?? null],
        }).then((value) => {
            if (value && value.__error) {
                throw new Error(value.__error);
            }
            return value;
        });
    }

    actions(source) {
        return this.command('POST', '/actions', {actions: [source]});
    }

    keys(steps) {
        return this.actions({type: 'key', id: 'keyboard',
                             actions: steps.map(([type, key]) => ({type, value: keyValue(key)}))});
    }

    click(x, y, count) {
        const press = [{type: 'pointerDown', button: 0}, {type: 'pointerUp', button: 0}];
        return this.actions({
            type: 'pointer', id: 'mouse', parameters: {pointerType: 'mouse'},
            actions: [{type: 'pointerMove', x: Math.round(x), y: Math.round(y), origin: 'viewport'},
                      ...Array(count).fill(press).flat()],
        });
    }

    screenshot() {
        return this.command('GET', '/screenshot').then((png) => Buffer.from(png, 'base64'));
    }

    close() {
        return this.command('DELETE', '');
    }
}

export const webkitHome = () => mkdtempSync(join(tmpdir(), 'melkora-webkit-'));
// The browser's helper processes may still be writing their caches for a while, longer on a busy
// machine; a cache folder that outlives them all is said, not counted as the road's failure.
export async function removeHome(home) {
    for (let tries = 0; ; ++tries) {
        try {
            rmSync(home, {recursive: true, force: true, maxRetries: 10, retryDelay: 100});
            return;
        } catch (error) {
            if (tries === 5) {
                console.error(`left behind: ${error.message}`);
                return;
            }
            await new Promise((done) => setTimeout(done, 1000));
        }
    }
}
