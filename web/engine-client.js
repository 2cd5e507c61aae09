// The page's side of the worker: each request is a promise of its answer.
export class EngineClient {
  constructor(onProgress) {
    this.worker = new Worker('worker.js');
    this.nextId = 1;
    this.pending = new Map();
    this.worker.onmessage = (event) => this.receive(event.data);
    this.worker.onerror = (event) => this.failAll(event.message || 'The engine could not be started.');
    this.onProgress = onProgress;
  }

  request(op, args, transfer = []) {
    const id = this.nextId++;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject });
      this.worker.postMessage({ id, op, args }, transfer);
    });
  }

  receive(message) {
    if (message.progress !== undefined) {
      this.onProgress(message.progress);
      return;
    }
    const waiting = this.pending.get(message.id);
    if (!waiting) return;
    this.pending.delete(message.id);
    if (message.error !== undefined) waiting.reject(new Error(message.error));
    else waiting.resolve(message.result);
  }

  failAll(text) {
    for (const waiting of this.pending.values()) waiting.reject(new Error(text));
    this.pending.clear();
  }
}
